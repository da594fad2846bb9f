#include "delivery/new_mailbox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/host.h"
#include "platform/winsys.h"
#include "support/host_test.h"

namespace tavi {
namespace {

class NewMailboxTest : public testing::HostTest {
 protected:
  std::string NewFolder(const std::string& name) {
    return Store().Item(Store().CreateFolder(host::kTopLevel, name).value())->path;
  }
};

TEST_F(NewMailboxTest, ANameIsFreeOnlyWhenItsFileNameIsNotTakenInAnyLetterCase) {
  ASSERT_TRUE(Store().CreateMailbox(host::kTopLevel, "Work").has_value());
  const struct {
    const char* name;
    bool free;
  } rows[] = {
      {"Work", false},  {"work", false},  // another spelling of the same file here
      {"Work ", false},                   // the blank goes when the file name is made
      {"Wo'rk", false},                   // so does the apostrophe
      {"Work?", false},                   // not a file name at all
      {"", false},      {"Workshop", true}, {"Tom's News", true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(IsFreeMailboxName(data_.path(), row.name), row.free);
  }
  // Work.mbx is at the top level, not in the folder.
  EXPECT_TRUE(IsFreeMailboxName(NewFolder("Feeds"), "Work"));
}

TEST_F(NewMailboxTest, OnlyAFileTheHostMadeNowIsANewMailbox) {
  ASSERT_TRUE(Store().CreateMailbox(host::kTopLevel, "Work").has_value());
  const std::string feeds = NewFolder("Feeds");

  // The host makes " Work" the safe name Work, which is the user's mailbox.
  EXPECT_EQ(CreateNewMailbox(" Work", data_.path(), true), "");
  EXPECT_EQ(CreateNewMailbox("Tom's News", data_.path(), true), data_.Join("Toms News.mbx"));

  const std::string daily = CreateNewMailbox("Daily", feeds, false);
  EXPECT_EQ(daily, feeds + "/Daily.mbx");
  EXPECT_TRUE(std::filesystem::exists(daily));
  EXPECT_EQ(CreateNewMailbox("Daily", feeds, false), "");
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(NewMailboxTest, WithoutTheAutomationServerNothingIsCreatedAndTheErrorIsShown) {
  host_->SetAutomationEnabled(false);
  EXPECT_EQ(CreateNewMailbox("News", data_.path(), true), "");
  EXPECT_FALSE(std::filesystem::exists(data_.Join("News.mbx")));
  EXPECT_EQ(platform::ShownMessageBoxes().size(), 1u);
}

}  // namespace
}  // namespace tavi
