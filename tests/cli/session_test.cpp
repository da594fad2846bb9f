#include "cli/session.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "cli/run_tavi.h"
#include "files/file_names.h"
#include "host/data_folder_lock.h"
#include "platform/fs.h"
#include "support/temp_dir.h"

namespace tavi::cli {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(testing::RunTaviOn(data_.path(), {"init"}).code, 0); }
  testing::CommandRun Tavi(std::vector<std::string> arguments) {
    return testing::RunTaviOn(data_.path(), std::move(arguments));
  }

  tavi::testing::TempDir data_;
};

TEST_F(SessionTest, AChangeRefusesWithNoWaitWhileAnotherHoldsTheFolder) {
  const host::DataFolderLockResult held =
      host::DataFolderLock::Acquire(data_.path(), "tavi download", host::LockWaiting::kFailAtOnce);
  ASSERT_EQ(held.status, host::DataFolderLockStatus::kAcquired);
  const testing::CommandRun refused = Tavi({"--no-wait", "add", "A", "http://x", "--name", "A"});
  EXPECT_EQ(refused.code, kExitFailure);
  EXPECT_EQ(refused.err, "tavi: process " + std::to_string(getpid()) +
                             " (tavi download) is working on this data folder; try again when "
                             "it has finished\n");
  // Commands that only read need no lock.
  EXPECT_EQ(Tavi({"feeds"}).code, kExitSuccess);
  EXPECT_EQ(Tavi({"mailboxes"}).code, kExitSuccess);
}

TEST_F(SessionTest, AChangeRemovesWhatKilledRunsLeftAndAReadTouchesNothing) {
  const std::vector<std::string> leftovers = {
      data_.Join("plugins/feed.xml.part4242-0"), data_.Join("plugins/article.html.part4242-3"),
      data_.Join("plugins/tavi.ini.tavi-tmp-AbC123"), data_.Join("In.mbx.tavi-tmp-xYz789")};
  for (const std::string& path : leftovers) tavi::testing::WriteFile(path, "half");
  platform::DeleteFile(data_.Join("In.toc"));

  ASSERT_EQ(Tavi({"mailboxes"}).code, kExitSuccess);
  for (const std::string& path : leftovers) EXPECT_TRUE(FileExists(path)) << path;
  EXPECT_FALSE(FileExists(data_.Join("In.toc")));

  ASSERT_EQ(Tavi({"add", "A", "http://x", "--name", "A"}).code, kExitSuccess);
  for (const std::string& path : leftovers) EXPECT_FALSE(FileExists(path)) << path;
}

}  // namespace
}  // namespace tavi::cli
