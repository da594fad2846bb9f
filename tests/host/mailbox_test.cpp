#include "host/mailbox.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/mail_store.h"
#include "host/stored_messages.h"
#include "host/toc_commit.h"
#include "host/toc_file.h"
#include "support/temp_dir.h"

namespace tavi::host {
namespace {

using testing::Join;
using testing::RawMessage;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// What a process killed while appending `raw` left of it: its header block,
// Message-Id and all, without the body.
std::string TornCopy(const std::string& raw) { return raw.substr(0, raw.find("\r\n\r\n")); }

class MailboxTest : public ::testing::Test {
 protected:
  std::unique_ptr<MailStore> Open() { return MailStore::Open(dir_.path()); }
  std::string PathOf(const std::string& name) const { return dir_.Join(name); }
  std::vector<TocEntry> NewsEntries() const {
    return ParseToc(ReadFile(PathOf("News.toc")))->entries;
  }

  // Stages `raws` in Pending and moves them into News, the last first, as
  // the plug-in delivers; then lets the store go, which writes the batch.
  void Deliver(const std::vector<std::string>& raws) {
    WriteFile(PathOf("Pending.mbx"), Join(raws));
    auto store = Open();
    const int pending = *store->FindByName("Pending");
    const int news = *store->CreateMailbox(kTopLevel, "News");
    for (std::size_t i = store->MessageCount(pending).value_or(0); i > 0; --i) {
      ASSERT_TRUE(store->MoveMessage(store->MessageAt(pending, i - 1), news));
    }
  }

  TempDir dir_;
};

TEST_F(MailboxTest, EveryMoveIsCommittedInPlaceInTheTargetsTable) {
  WriteFile(PathOf("Pending.mbx"), RawMessage("a") + RawMessage("b"));
  auto store = Open();
  const int pending = *store->FindByName("Pending");
  const int news = *store->CreateMailbox(kTopLevel, "News");
  const ino_t toc = InodeOf(PathOf("News.toc"));
  for (std::size_t left = 2; left > 0; --left) {
    const MessagePtr message = store->MessageAt(pending, left - 1);
    const auto offset = static_cast<std::uint32_t>(ReadFile(PathOf("News.mbx")).size());
    ASSERT_TRUE(store->MoveMessage(message, news));
    SCOPED_TRACE(std::string(message->Subject()));
    EXPECT_EQ(InodeOf(PathOf("News.toc")), toc) << "the table was rewritten whole";
    EXPECT_EQ(ReadCommittedLength(PathOf("News.toc")), ReadFile(PathOf("News.mbx")).size());
    const std::vector<TocEntry> entries = NewsEntries();
    ASSERT_EQ(entries.size(), 3 - left);
    const std::uint32_t size = static_cast<std::uint32_t>(message->Raw().size());
    EXPECT_EQ(entries.back(), (TocEntry{offset, size, message->Checksum(), 0}));
  }
  // The source's rewrite commits its new length with it.
  ASSERT_TRUE(store->Flush());
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), "");
  EXPECT_EQ(ReadCommittedLength(PathOf("Pending.toc")), 0u);
}

TEST_F(MailboxTest, AfterAKillInTheMiddleOfAnAppendTheMailboxReadsAsBefore) {
  const std::string a = RawMessage("a");
  const std::string b = RawMessage("b", std::string(5000, 'x'));
  Deliver({a, b});
  const std::string committed_mbx = ReadFile(PathOf("News.mbx"));
  const std::string committed_toc = ReadFile(PathOf("News.toc"));
  ASSERT_EQ(committed_mbx, b + a);
  const std::string late = RawMessage("late");
  const std::string late_entry = FormatTocEntry({0, static_cast<std::uint32_t>(late.size()), 0, 0});
  const struct {
    const char* when;
    std::string mbx_tail;
    std::string toc_tail;
  } kills[] = {
      {"while the message was written", TornCopy(late), ""},
      {"while its entry was written", late, late_entry.substr(0, 100)},
      {"before the header counted the entry", late, late_entry},
  };
  for (const auto& kill : kills) {
    SCOPED_TRACE(kill.when);
    WriteFile(PathOf("News.mbx"), committed_mbx + kill.mbx_tail);
    WriteFile(PathOf("News.toc"), committed_toc + kill.toc_tail);
    auto store = Open();
    const int news = *store->FindByName("News");
    EXPECT_EQ(store->RawMessages(news), (std::vector<std::string>{b, a}));
    EXPECT_EQ(ReadFile(PathOf("News.mbx")), committed_mbx);
    // The next delivery commits after the last whole message again.
    ASSERT_TRUE(store->AddMessage(news, "Subject: next\r\n\r\nbody"));
    auto reopened = Open();
    EXPECT_EQ(reopened->MessageCount(*reopened->FindByName("News")), 3u);
    EXPECT_EQ(ParseToc(ReadFile(PathOf("News.toc")))->entries.size(), 3u);
  }
}

TEST_F(MailboxTest, AMovedMessageSurvivesAKillBeforeTheSourceIsRewritten) {
  const std::vector<std::string> staged = {RawMessage("a"), RawMessage("b")};
  WriteFile(PathOf("Pending.mbx"), Join(staged));
  ASSERT_TRUE(Open()->CreateMailbox(kTopLevel, "News").has_value());
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto store = Open();
    const int pending = *store->FindByName("Pending");
    const bool moved = store->MoveMessage(store->MessageAt(pending, 1), *store->FindByName("News"));
    // Killed before the store could write the batch: no destructor runs.
    if (moved) raise(SIGKILL);
    _exit(1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the move failed";
  auto store = Open();
  EXPECT_EQ(store->RawMessages(*store->FindByName("News")), std::vector<std::string>{staged[1]});
  EXPECT_EQ(store->RawMessages(*store->FindByName("Pending")), staged);
}

TEST_F(MailboxTest, AMoveThatCannotBeCommittedFailsAndLeavesNoTrace) {
  WriteFile(PathOf("Pending.mbx"), RawMessage("a"));
  auto store = Open();
  const int pending = *store->FindByName("Pending");
  const int news = *store->CreateMailbox(kTopLevel, "News");
  // A folder where the table of contents should be: no commit can succeed.
  ASSERT_EQ(remove(PathOf("News.toc").c_str()), 0);
  ASSERT_EQ(mkdir(PathOf("News.toc").c_str(), 0755), 0);
  EXPECT_FALSE(store->MoveMessage(store->MessageAt(pending, 0), news));
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), "");
  EXPECT_EQ(store->MessageCount(news), 0u);
  EXPECT_EQ(store->MessageCount(pending), 1u);
  EXPECT_FALSE(store->AddMessage(news, "Subject: x\r\n\r\nbody"));
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), "");
  ASSERT_TRUE(store->Flush());
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), RawMessage("a"));
}

TEST_F(MailboxTest, AMissingOrForeignTableOfContentsCutsNothing) {
  const std::string bytes = RawMessage("a") + TornCopy(RawMessage("b"));
  std::string first_version = FormatToc({}, 10);
  first_version[4] = '\x01';
  const struct {
    const char* what;
    std::optional<std::string> toc;
  } cases[] = {
      {"none (the plug-in deletes it before appending)", std::nullopt},
      {"of the first version", first_version},
      {"someone else's", std::string(104, 'x')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(PathOf("News.mbx"), bytes);
    remove(PathOf("News.toc").c_str());
    if (c.toc) WriteFile(PathOf("News.toc"), *c.toc);
    auto store = Open();
    EXPECT_EQ(store->MessageCount(*store->FindByName("News")), 2u);
    EXPECT_EQ(ReadFile(PathOf("News.mbx")), bytes);
    // Read, the file is indexed and committed as it is.
    EXPECT_EQ(ReadCommittedLength(PathOf("News.toc")), bytes.size());
  }
}

// The page asks for the counts while the plug-in stages a feed: the host
// indexes Pending with one message, and the plug-in appends the next.
TEST_F(MailboxTest, AnAppendAfterTheHostIndexedTheFileHalfWayIsKept) {
  const std::string a = RawMessage("a");
  const std::string b = RawMessage("b");
  WriteFile(PathOf("Pending.mbx"), a);
  auto store = Open();
  const int pending = *store->FindByName("Pending");
  ASSERT_EQ(store->MessageCount(pending), 1u);
  ASSERT_EQ(ReadCommittedLength(PathOf("Pending.toc")), a.size());
  WriteFile(PathOf("Pending.mbx"), a + b);
  EXPECT_EQ(store->RawMessages(pending), (std::vector<std::string>{a, b}));
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), a + b);
  EXPECT_EQ(ReadCommittedLength(PathOf("Pending.toc")), (a + b).size());
}

TEST_F(MailboxTest, AStateChangeNeverCommitsALengthTheFileNoLongerHas) {
  WriteFile(PathOf("Pending.mbx"), RawMessage("a"));
  auto store = Open();
  const int pending = *store->FindByName("Pending");
  ASSERT_TRUE(store->SetMessageState(store->MessageAt(pending, 0), 1));
  // The plug-in stages the next batch before the change was written.
  ASSERT_EQ(remove(PathOf("Pending.toc").c_str()), 0);
  const std::vector<std::string> staged = {RawMessage("b"), RawMessage("c")};
  WriteFile(PathOf("Pending.mbx"), Join(staged));
  ASSERT_TRUE(store->Flush());
  EXPECT_EQ(ReadCommittedLength(PathOf("Pending.toc")), Join(staged).size());
  auto other = Open();
  EXPECT_EQ(other->RawMessages(*other->FindByName("Pending")), staged);
}

}  // namespace
}  // namespace tavi::host
