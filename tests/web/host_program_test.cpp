// The tavi-host program as a person runs it: started on a data folder,
// opened at the address it prints, stopped with SIGTERM or Ctrl+C.

#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>

#include <filesystem>
#include <regex>

#include "host/data_folder_lock.h"
#include "support/child_process.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace tavi::web {
namespace {

using testing::ChildProcess;

// What the program has printed, once `pattern` is in it (or it ended).
std::string OutputOnce(ChildProcess& program, const std::regex& pattern) {
  for (;;) {
    const std::string printed = program.Output() + program.Errors();
    if (std::regex_search(printed, pattern)) return printed;
    if (!program.RunUntilWritten(program.BytesWritten() + 1))
      return program.Output() + program.Errors();
  }
}

struct Served {
  int port = 0;
  std::string token;
};

Served WaitUntilServing(ChildProcess& program) {
  const std::regex address("open http://127\\.0\\.0\\.1:(\\d+)/\\?token=([0-9a-f]{64}) ");
  const std::string printed = OutputOnce(program, address);
  std::smatch found;
  if (!std::regex_search(printed, found, address)) {
    ADD_FAILURE() << "tavi-host printed no address:\n" << printed;
    return {};
  }
  return {std::stoi(found[1]), found[2]};
}

// The page's cookie for the address's token.
std::string SessionCookie(const Served& served) {
  httplib::Client client("127.0.0.1", served.port);
  const httplib::Result exchanged = client.Get("/?token=" + served.token);
  if (!exchanged) return "";
  const std::string set_cookie = exchanged->get_header_value("Set-Cookie");
  return set_cookie.substr(0, set_cookie.find(';'));
}

host::DataFolderLockResult TryLock(const std::string& folder) {
  return host::DataFolderLock::Acquire(folder, "test", host::LockWaiting::kFailAtOnce);
}

class HostProgramTest : public ::testing::Test {
 protected:
  std::string Output(const char* name) const { return work_.Join(name); }

  testing::TempDir data_;
  testing::TempDir work_;
};

TEST_F(HostProgramTest, ServesTheDataFolderAndStopsCleanlyOnSigterm) {
  ChildProcess program({TAVI_HOST_PROGRAM_PATH, "--data", data_.path()}, Output("host"));
  const Served served = WaitUntilServing(program);
  ASSERT_NE(served.port, 0);
  // It holds the data folder, with the plug-in installed in its plugins folder.
  const host::DataFolderLockResult held = TryLock(data_.path());
  EXPECT_EQ(held.status, host::DataFolderLockStatus::kHeld);
  EXPECT_EQ(held.holder.process_id, program.Id());
  EXPECT_EQ(held.holder.description, "tavi-host");
  EXPECT_TRUE(std::filesystem::is_regular_file(data_.Join("plugins/tavi.so")));
  httplib::Client client("127.0.0.1", served.port);
  const httplib::Result tree = client.Get("/api/mailboxes", {{"Cookie", SessionCookie(served)}});
  ASSERT_TRUE(tree);
  EXPECT_EQ(tree->status, 200);
  EXPECT_NE(tree->body.find("\"name\": \"Trash\""), std::string::npos);

  kill(program.Id(), SIGTERM);
  EXPECT_EQ(program.Wait(), 0);
  EXPECT_EQ(program.Errors(), "");
  EXPECT_NE(program.Output().find("tavi-host: stopping\n"), std::string::npos);
  EXPECT_EQ(TryLock(data_.path()).status, host::DataFolderLockStatus::kAcquired);
  EXPECT_FALSE(client.Get("/api/mailboxes"));
}

TEST_F(HostProgramTest, WaitsSayingWhoHoldsTheDataFolderAndCtrlCEndsTheWait) {
  host::DataFolderLockResult held =
      host::DataFolderLock::Acquire(data_.path(), "tavi download", host::LockWaiting::kWait);
  ASSERT_EQ(held.status, host::DataFolderLockStatus::kAcquired);
  ChildProcess program({TAVI_HOST_PROGRAM_PATH, "--data", data_.path()}, Output("host"));
  const std::string said = "tavi-host: waiting for process " + std::to_string(getpid()) +
                           " (tavi download) to finish with this data folder...";
  EXPECT_NE(OutputOnce(program, std::regex(std::regex_replace(said, std::regex("[.()]"), "\\$&")))
                .find(said),
            std::string::npos);
  kill(program.Id(), SIGINT);
  EXPECT_EQ(program.Wait(), 1);
  EXPECT_EQ(program.Output(), "");
}

TEST_F(HostProgramTest, DoesNotStartWithoutItsPlugin) {
  ChildProcess program(
      {TAVI_HOST_PROGRAM_PATH, "--data", data_.path(), "--plugin", data_.Join("missing.so")},
      Output("host"));
  EXPECT_EQ(program.Wait(), 1);
  EXPECT_EQ(program.Errors(), "tavi-host: cannot load the plug-in " + data_.Join("missing.so") +
                                  ": cannot read the plug-in " + data_.Join("missing.so") + "\n");
  EXPECT_EQ(TryLock(data_.path()).status, host::DataFolderLockStatus::kAcquired);
}

TEST_F(HostProgramTest, TheDemoOpensOnDeliveredArticlesAndRemovesItsFolderAtTheEnd) {
  const testing::ScopedEnvironmentVariable tmpdir("TMPDIR", work_.path());
  ChildProcess program({TAVI_HOST_PROGRAM_PATH, "--demo"}, Output("host"));
  const Served served = WaitUntilServing(program);
  ASSERT_NE(served.port, 0);
  std::smatch folder;
  const std::string printed = program.Output();
  ASSERT_TRUE(std::regex_search(printed, folder, std::regex("data folder (\\S+)\n")));
  EXPECT_TRUE(std::filesystem::is_directory(folder[1].str()));
  httplib::Client client("127.0.0.1", served.port);
  const httplib::Result tree = client.Get("/api/mailboxes", {{"Cookie", SessionCookie(served)}});
  ASSERT_TRUE(tree);
  // The demo's three feeds: Gazette's three articles, and Science's three
  // from two feeds.
  EXPECT_NE(tree->body.find("\"name\": \"Gazette\",\n      \"folder\": false,\n"
                            "      \"unread\": 3,\n      \"total\": 3"),
            std::string::npos)
      << tree->body;
  EXPECT_NE(tree->body.find("\"name\": \"Science\",\n      \"folder\": false,\n"
                            "      \"unread\": 3,\n      \"total\": 3"),
            std::string::npos);
  kill(program.Id(), SIGTERM);
  EXPECT_EQ(program.Wait(), 0);
  EXPECT_FALSE(std::filesystem::exists(folder[1].str()));
}

}  // namespace
}  // namespace tavi::web
