#include "delivery/mailbox_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "host/host.h"
#include "store/pacing.h"
#include "support/host_test.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using namespace std::string_literals;
using std::chrono::milliseconds;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class FormatSeparatorLineTest : public ::testing::Test {
 protected:
  testing::PinnedUtcClock clock_{testing::UtcInstant(2026, 1, 3, 4, 5, 6)};
};

TEST_F(FormatSeparatorLineTest, WritesWeekdayMonthDayYearAndTwoDigitTime) {
  struct Case {
    const char* date_text;
    const char* expected;
  };
  const Case cases[] = {
      // The day goes without a leading zero, every time field with one.
      {"12/6/2026 9:05:07 AM", "From ???@??? Sun Dec 6 2026 09:05:07"},
      {"Dec 16 2026 13:46:41", "From ???@??? Wed Dec 16 2026 13:46:41"},
      {"2027-01-01", "From ???@??? Fri Jan 1 2027 00:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date_text);
    EXPECT_EQ(FormatSeparatorLine(c.date_text), c.expected);
  }
}

TEST_F(FormatSeparatorLineTest, UnreadableDateGivesTheCurrentTime) {
  EXPECT_EQ(FormatSeparatorLine("not a date"), "From ???@??? Sat Jan 3 2026 04:05:06");
  EXPECT_EQ(FormatSeparatorLine(""), "From ???@??? Sat Jan 3 2026 04:05:06");
}

TEST(MailboxFilePath, NamesTheFileAfterTheSafeTrimmedName) {
  struct Case {
    const char* name;
    bool index_file;
    const char* expected;
  };
  const Case cases[] = {
      {"Pending", false, "/data/Pending.mbx"},
      {"Pending", true, "/data/Pending.toc"},
      {"  My News \t", false, "/data/My News.mbx"},
      // Leading blanks left once the forbidden characters are gone.
      {"* News", false, "/data/News.mbx"},
      {" *?* ", true, "/data/No Name.toc"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MailboxFilePath("/data", c.name, c.index_file), c.expected);
  }
}

TEST(AppendToMailboxFile, AppendsTheBytesExactly) {
  TempDir folder;
  const std::string path = folder.Join("Pending.mbx");
  WriteFile(path, "old\r\n");
  // A body line beginning with "From ", a bare LF and a zero byte all stay.
  const std::string message = "From ???@??? x\r\nSubject: s\r\n\r\nFrom here\nend\0z\r\n"s;
  EXPECT_TRUE(AppendToMailboxFile(path, message));
  EXPECT_TRUE(AppendToMailboxFile(path, "second"));
  EXPECT_EQ(ReadFile(path), "old\r\n" + message + "second");
}

TEST(AppendToMailboxFile, MissingFileFailsAndIsNotCreated) {
  TempDir folder;
  const std::string path = folder.Join("Pending.mbx");
  EXPECT_FALSE(AppendToMailboxFile(path, "text"));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(AppendToMailboxFile("", "text"));
}

TEST(AppendToMailboxFile, WriteThatCannotCompleteIsAFailure) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_FALSE(AppendToMailboxFile("/dev/full", "message"));
}

// A table of contents with one entry per state given, as the host writes it.
std::string TableOfContents(int count, const std::vector<int>& states) {
  std::string bytes(104, 'h');
  bytes[102] = static_cast<char>(count & 0xFF);
  bytes[103] = static_cast<char>((count >> 8) & 0xFF);
  for (const int state : states) {
    std::string entry(218, 'e');
    entry[12] = static_cast<char>(state & 0xFF);
    entry[13] = static_cast<char>((state >> 8) & 0xFF);
    bytes += entry;
  }
  return bytes;
}

TEST(TableOfContents, CountsMessagesAndUnreadEntries) {
  struct Case {
    const char* what;
    std::string bytes;
    int count;
    int unread;
  };
  const Case cases[] = {
      // Entries beyond the count are not read.
      {"count 0", TableOfContents(0, {0, 0}), 0, 0},
      {"mixed states", TableOfContents(4, {0, 1, -1, 0}), 4, 2},
      {"count above 255", TableOfContents(300, std::vector<int>(300, 0)), 300, 300},
      // High byte of the state set: 0x0100 is not 0.
      {"state 256 is read", TableOfContents(2, {256, 0}), 2, 1},
      {"shorter than its count", TableOfContents(5, {0, 0}), 5, 2},
      {"entry cut short", TableOfContents(2, {0, 0}).substr(0, 104 + 218 + 100), 2, 1},
      {"header cut short", TableOfContents(3, {0, 0, 0}).substr(0, 103), -1, -1},
      {"empty file", "", -1, -1},
  };
  TempDir folder;
  const std::string path = folder.Join("News.toc");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(path, c.bytes);
    EXPECT_EQ(ReadMailboxIndexCount(path), c.count);
    EXPECT_EQ(CountUnreadMessages(path), c.unread);
  }
}

TEST(TableOfContents, MissingFileCountsMinusOne) {
  TempDir folder;
  EXPECT_EQ(ReadMailboxIndexCount(folder.Join("none.toc")), -1);
  EXPECT_EQ(CountUnreadMessages(folder.Join("none.toc")), -1);
}

class PrepareStagingMailboxTest : public testing::HostTest {
 protected:
  void SetUp() override {
    SetPacing(Pacing::Designed());
    HostTest::SetUp();
  }
  platform::WindowHandle DocumentArea() { return host_->Windows().DocumentArea(); }

  testing::RecordingSleeper sleeper_;
};

TEST_F(PrepareStagingMailboxTest, MissingStagingMailboxIsCreatedByTheHost) {
  const StagingPaths paths = PrepareStagingMailbox(data_.path(), DocumentArea());
  EXPECT_EQ(paths.mailbox_file, data_.Join("Pending.mbx"));
  EXPECT_EQ(paths.index_file, data_.Join("Pending.toc"));
  EXPECT_TRUE(std::filesystem::exists(paths.mailbox_file));
  EXPECT_TRUE(host_->Store().FindByName("Pending").has_value());
  // The host indexed the new mailbox; the index goes so that it is read afresh.
  EXPECT_FALSE(std::filesystem::exists(paths.index_file));
  EXPECT_EQ(sleeper_.Waits(), (std::vector<milliseconds>{milliseconds(200), milliseconds(200)}));
  EXPECT_TRUE(AppendToMailboxFile(paths.mailbox_file, "x"));
}

TEST_F(PrepareStagingMailboxTest, OpenStagingMailboxIsClosedEmptiedAndUnindexed) {
  const int pending = host_->Store().CreateMailbox(host::kTopLevel, "Pending").value();
  ASSERT_TRUE(host_->Store().AddMessage(pending, "Subject: old\r\n\r\nbody"));
  ASSERT_TRUE(host_->OpenMailbox(pending));  // indexes it: Pending.toc is written
  const platform::WindowHandle window = host_->Windows().MailboxWindow(pending);
  ASSERT_TRUE(std::filesystem::exists(data_.Join("Pending.toc")));

  const StagingPaths paths = PrepareStagingMailbox(data_.path(), DocumentArea());
  EXPECT_FALSE(platform::IsWindow(window));
  EXPECT_EQ(std::filesystem::file_size(paths.mailbox_file), 0u);
  EXPECT_FALSE(std::filesystem::exists(paths.index_file));
  EXPECT_EQ(sleeper_.Waits(), (std::vector<milliseconds>{milliseconds(200), milliseconds(200)}));
}

TEST_F(PrepareStagingMailboxTest, UntitledDocumentWindowIsClosedWhenNoneIsTitledPending) {
  const platform::WindowHandle untitled =
      platform::CreateWindow({"HostMailboxWindow", "", DocumentArea(), true, {}, 0});
  const platform::WindowHandle other =
      platform::CreateWindow({"HostMailboxWindow", "In", DocumentArea(), true, {}, 0});
  PrepareStagingMailbox(data_.path(), DocumentArea());
  EXPECT_FALSE(platform::IsWindow(untitled));
  EXPECT_TRUE(platform::IsWindow(other));
}

TEST_F(PrepareStagingMailboxTest, AnIndexThatCannotBeDeletedLeavesNothingToWriteInto) {
  ASSERT_TRUE(host_->Store().CreateMailbox(host::kTopLevel, "Pending"));
  // A folder in the index's place cannot be deleted as a file.
  std::filesystem::remove(data_.Join("Pending.toc"));
  std::filesystem::create_directories(data_.Join("Pending.toc/kept"));
  const StagingPaths paths = PrepareStagingMailbox(data_.path(), DocumentArea());
  EXPECT_EQ(paths.mailbox_file, "");
}

TEST_F(PrepareStagingMailboxTest, WithoutAutomationNoStagingMailboxCanBeWritten) {
  host_->SetAutomationEnabled(false);
  const StagingPaths paths = PrepareStagingMailbox(data_.path(), DocumentArea());
  EXPECT_EQ(paths.mailbox_file, "");
  ASSERT_EQ(platform::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(platform::ShownMessageBoxes()[0].text, platform::kInvalidClassString);
  EXPECT_FALSE(AppendToMailboxFile(paths.mailbox_file, "message"));
  EXPECT_FALSE(std::filesystem::exists(data_.Join("Pending.mbx")));
}

}  // namespace
}  // namespace tavi
