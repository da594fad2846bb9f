#include "host/mail_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

#include "host/mbx_format.h"
#include "host/stored_messages.h"
#include "host/toc_file.h"
#include "support/temp_dir.h"

namespace tavi::host {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

using testing::Join;

std::string Raw(const std::string& id, const std::string& body = "<x-html>body</x-html>") {
  return testing::RawMessage(id, body);
}

std::uint16_t TocCount(const std::string& toc) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(toc[102]) |
                                    static_cast<unsigned char>(toc[103]) << 8);
}

void MoveAll(MailStore& store, int source, int target) {
  for (std::size_t i = store.MessageCount(source).value_or(0); i > 0; --i) {
    ASSERT_TRUE(store.MoveMessage(store.MessageAt(source, i - 1), target));
  }
}

class MailStoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<MailStore> Open() { return MailStore::Open(dir_.path()); }
  std::string PathOf(const std::string& name) const { return dir_.Join(name); }

  TempDir dir_;
};

TEST_F(MailStoreTest, StartsWithInOutAndTrashFirst) {
  WriteFile(PathOf("Apples.mbx"), "");
  ASSERT_EQ(mkdir(PathOf("archive.fol").c_str(), 0755), 0);
  WriteFile(PathOf("Notes.txt"), "not a mailbox");
  auto store = Open();
  ASSERT_NE(store, nullptr);
  for (const char* name : {"In.mbx", "Out.mbx", "Trash.mbx"}) {
    EXPECT_TRUE(ReadFile(PathOf(name)).empty()) << name;
  }
  std::vector<std::string> names;
  for (int child : store->Children(kTopLevel)) names.push_back(store->Item(child)->name);
  EXPECT_EQ(names, (std::vector<std::string>{"In", "Out", "Trash", "Apples", "archive"}));
  EXPECT_EQ(store->Item(kInMailboxNumber)->path, PathOf("In.mbx"));
  EXPECT_FALSE(store->Item(kTopLevel).has_value());
  EXPECT_EQ(MailStore::Open(PathOf("missing/deeper")), nullptr);
}

TEST_F(MailStoreTest, FindsANestedMailboxByPathInAnyLetterCase) {
  ASSERT_EQ(mkdir(PathOf("News.fol").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(PathOf("News.fol/Tech.fol").c_str(), 0755), 0);
  WriteFile(PathOf("News.fol/Tech.fol/Linux.mbx"), Raw("a"));
  auto store = Open();
  const std::string path = PathOf("News.fol/Tech.fol/Linux.mbx");
  std::string shouted = path;
  std::transform(shouted.begin(), shouted.end(), shouted.begin(), ::toupper);
  const std::optional<int> found = store->FindByPath(shouted);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(store->Item(*found)->path, path);
  EXPECT_EQ(store->Item(*found)->name, "Linux");
  const int tech = store->Item(*found)->parent;
  EXPECT_EQ(store->Item(tech)->path, PathOf("News.fol/Tech.fol"));
  EXPECT_EQ(store->FindByName("linux"), found);
  EXPECT_EQ(store->MessageCount(*found), 1u);
}

TEST_F(MailStoreTest, FindsMailboxFilesWrittenAfterItOpened) {
  auto store = Open();
  WriteFile(PathOf("Pending.mbx"), Raw("a") + Raw("b"));
  const std::optional<int> pending = store->FindByName("Pending");
  ASSERT_TRUE(pending.has_value());
  EXPECT_EQ(store->MessageCount(*pending), 2u);
  // Creating a mailbox whose file is already there adopts it, messages and all.
  WriteFile(PathOf("Later.mbx"), Raw("c"));
  const std::optional<int> later = store->CreateMailbox(kTopLevel, "Later");
  ASSERT_TRUE(later.has_value());
  EXPECT_EQ(store->MessageCount(*later), 1u);
  EXPECT_EQ(store->CreateMailbox(kTopLevel, "later"), later);
}

TEST_F(MailStoreTest, CreatesMailboxesAndFoldersUnderSafeNames) {
  auto store = Open();
  const std::optional<int> folder = store->CreateFolder(kTopLevel, "Feeds");
  ASSERT_TRUE(folder.has_value());
  const std::optional<int> inner = store->CreateMailbox(*folder, "Tech: News?");
  ASSERT_TRUE(inner.has_value());
  EXPECT_EQ(store->Item(*inner)->name, "Tech News");
  EXPECT_EQ(store->Item(*inner)->path, PathOf("Feeds.fol/Tech News.mbx"));
  EXPECT_TRUE(ReadFile(PathOf("Feeds.fol/Tech News.toc")).size() == kTocHeaderSize);
  // A name beginning with a dot is still found when the folder is read again.
  ASSERT_TRUE(store->CreateMailbox(*folder, ".quiet").has_value());
  EXPECT_TRUE(Open()->FindByPath(PathOf("Feeds.fol/.quiet.mbx")).has_value());
  EXPECT_FALSE(store->CreateMailbox(kTopLevel, "?*/").has_value());
  EXPECT_FALSE(store->CreateMailbox(*inner, "child of a mailbox").has_value());
  EXPECT_TRUE(store->SetHidden(*inner, true));
  EXPECT_TRUE(store->Item(*inner)->hidden);
}

TEST(MailboxStem, DropsOnlyWhatAFileNameCannotHold) {
  const struct {
    const char* name;
    std::optional<std::string> stem;
  } cases[] = {
      {"Pending", "Pending"},
      {" Tavi's News! ", " Tavi's News! "},  // as typed, so a path built from it matches
      {"a/b\\c:d*e?f\"g<h>i|j\tk", "abcdefghijk"},
      {".profile", ".profile"},
      {"", std::nullopt},
      {" \t", std::nullopt},
      {"..", std::nullopt},
      {"Caf\xC3\xA9", "Caf\xC3\xA9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MailboxStem(c.name), c.stem);
  }
}

TEST_F(MailStoreTest, WriteIndexMoveReopenKeepsEveryMessageByteForByte) {
  // Bodies that tempt a careless reader: "From " lines, bare LFs, 8-bit text,
  // a separator-like line that is not one.
  const std::vector<std::string> news = {
      Raw("n1"), Raw("n2", "From the editor\r\nFrom ???@??? Sun Dec 6 2026 13:46:41 +0100\r\n"),
      Raw("n3", "line\nbare\n\xE2\x82\xAC")};
  const std::vector<std::string> pending = {Raw("p1"), Raw("p2", ""), Raw("p3", "\r\n\r\n")};
  WriteFile(PathOf("News.mbx"), Join(news));
  WriteFile(PathOf("Pending.mbx"), Join(pending));
  {
    auto store = Open();
    const int source = *store->FindByName("Pending");
    const int target = *store->FindByName("News");
    ASSERT_TRUE(store->ReadMailboxAgain(source));
    MoveAll(*store, source, target);
    EXPECT_TRUE(store->Flush());
  }
  const std::vector<std::string> expected = {news[0],    news[1],    news[2],
                                             pending[2], pending[1], pending[0]};
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), Join(expected));
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), "");
  auto reopened = Open();
  EXPECT_EQ(reopened->RawMessages(*reopened->FindByName("News")), expected);
  EXPECT_EQ(reopened->MessageCount(*reopened->FindByName("Pending")), 0u);
  EXPECT_EQ(TocCount(ReadFile(PathOf("News.toc"))), 6u);
  EXPECT_EQ(TocCount(ReadFile(PathOf("Pending.toc"))), 0u);
}

TEST_F(MailStoreTest, MoveWritesTheTargetBeforeTheSourceLetsGo) {
  WriteFile(PathOf("Pending.mbx"), Raw("a") + Raw("b"));
  auto store = Open();
  const int source = *store->FindByName("Pending");
  const int target = *store->CreateMailbox(kTopLevel, "News");
  const MessagePtr moved = store->MessageAt(source, 1);
  ASSERT_TRUE(store->MoveMessage(moved, target));
  // A crash now leaves the message in both files, never in neither.
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), Raw("b"));
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), Raw("a") + Raw("b"));
  EXPECT_EQ(store->MessageCount(source), 1u);
  EXPECT_EQ(moved->MailboxNumber(), target);
  ASSERT_TRUE(store->Flush());
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), Raw("a"));
}

TEST_F(MailStoreTest, AtEveryStepOfABatchEachMessageIsWholeInSomeFile) {
  const std::vector<std::string> staged = {Raw("a"), Raw("b"), Raw("c")};
  WriteFile(PathOf("Pending.mbx"), Join(staged));
  auto store = Open();
  const int source = *store->FindByName("Pending");
  const int target = *store->CreateMailbox(kTopLevel, "News");
  // What a crash would leave is what the files hold between two steps.
  auto expect_nothing_lost = [&](const std::string& step) {
    SCOPED_TRACE(step);
    std::vector<std::string> on_disk = ParseMailboxFile(ReadFile(PathOf("Pending.mbx"))).messages;
    for (std::string& raw : ParseMailboxFile(ReadFile(PathOf("News.mbx"))).messages) {
      EXPECT_NE(std::find(staged.begin(), staged.end(), raw), staged.end()) << "not whole: " << raw;
      on_disk.push_back(std::move(raw));
    }
    for (const std::string& raw : staged) {
      EXPECT_NE(std::find(on_disk.begin(), on_disk.end(), raw), on_disk.end()) << "lost: " << raw;
    }
  };
  expect_nothing_lost("before the first move");
  for (std::size_t left = staged.size(); left > 0; --left) {
    ASSERT_TRUE(store->MoveMessage(store->MessageAt(source, left - 1), target));
    expect_nothing_lost("after a move, " + std::to_string(left - 1) + " left");
  }
  ASSERT_TRUE(store->Flush());
  expect_nothing_lost("after the batch was written");
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), "");
}

TEST_F(MailStoreTest, AFailedTargetWriteLeavesTheMessageWhereItWas) {
  WriteFile(PathOf("Pending.mbx"), Raw("a"));
  auto store = Open();
  const int source = *store->FindByName("Pending");
  const int target = *store->CreateMailbox(kTopLevel, "News");
  // A folder where the target's file should be: no write can succeed.
  ASSERT_EQ(remove(PathOf("News.mbx").c_str()), 0);
  ASSERT_EQ(mkdir(PathOf("News.mbx").c_str(), 0755), 0);
  EXPECT_FALSE(store->MoveMessage(store->MessageAt(source, 0), target));
  EXPECT_EQ(store->MessageCount(source), 1u);
  EXPECT_TRUE(store->Flush());
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), Raw("a"));
}

TEST_F(MailStoreTest, KeepsWhatOthersWroteWhileMovesWerePending) {
  WriteFile(PathOf("Pending.mbx"), Raw("a") + Raw("b"));
  auto store = Open();
  const int source = *store->FindByName("Pending");
  const int target = *store->CreateMailbox(kTopLevel, "News");
  ASSERT_TRUE(store->MoveMessage(store->MessageAt(source, 1), target));
  // Someone else appends to the source before the host rewrote it, deleting
  // its table of contents first as every writer but the host does.
  ASSERT_EQ(remove(PathOf("Pending.toc").c_str()), 0);
  WriteFile(PathOf("Pending.mbx"), Raw("a") + Raw("b") + Raw("c"));
  ASSERT_TRUE(store->Flush());
  EXPECT_EQ(ReadFile(PathOf("Pending.mbx")), Raw("a") + Raw("c"));
  EXPECT_EQ(store->RawMessages(source), (std::vector<std::string>{Raw("a"), Raw("c")}));
  EXPECT_EQ(store->RawMessages(target), std::vector<std::string>{Raw("b")});

  // Emptied and refilled by someone else: the host reads it afresh.
  WriteFile(PathOf("Pending.mbx"), Raw("d"));
  EXPECT_EQ(store->RawMessages(source), std::vector<std::string>{Raw("d")});
}

TEST_F(MailStoreTest, MessagesArriveUnreadAndKeepTheirStateWhenIndexedAgain) {
  WriteFile(PathOf("News.mbx"), Raw("a") + Raw("b"));
  {
    auto store = Open();
    const int news = *store->FindByName("News");
    ASSERT_TRUE(store->ReadMailboxAgain(news));
    const std::string toc = ReadFile(PathOf("News.toc"));
    ASSERT_EQ(toc.size(), kTocHeaderSize + 2 * kTocEntrySize);
    EXPECT_EQ(TocCount(toc), 2u);
    EXPECT_EQ(toc[kTocHeaderSize + kTocStateOffset], 0);
    ASSERT_TRUE(store->SetMessageState(store->MessageAt(news, 1), 1));
  }
  const std::string toc = ReadFile(PathOf("News.toc"));
  EXPECT_EQ(toc[kTocHeaderSize + kTocEntrySize + kTocStateOffset], 1);
  auto store = Open();
  const int news = *store->FindByName("News");
  ASSERT_TRUE(store->ReadMailboxAgain(news));
  EXPECT_EQ(store->MessageAt(news, 0)->State(), 0);
  EXPECT_EQ(store->MessageAt(news, 1)->State(), 1);
}

// What a front end showing the store hears after each operation: every
// mailbox whose messages changed, whoever changed them, and nothing when
// nothing changed.
TEST_F(MailStoreTest, TellsItsListenerOfEachChangeOnceAndOfNothingElse) {
  auto store = Open();
  // News's number is the store's to choose; the steps name it kNews.
  constexpr int kNews = -1;
  int news = 0;
  std::set<std::pair<HostChangeKind, int>> heard;
  store->SetChangeListener([&heard](const HostChange& change) {
    heard.insert({change.kind, change.mailbox});
  });
  const auto told_after = [&] {
    std::set<std::pair<HostChangeKind, int>> told;
    for (const auto& [kind, mailbox] : heard)
      told.insert({kind, mailbox == news ? kNews : mailbox});
    return told;
  };
  MessagePtr message;
  struct Step {
    const char* what;
    std::function<void()> operation;
    std::set<std::pair<HostChangeKind, int>> told;
  };
  const Step steps[] = {
      {"a new mailbox is in the tree and read",
       [&] { news = *store->CreateMailbox(kTopLevel, "News"); },
       {{HostChangeKind::kMailboxTree, 0}, {HostChangeKind::kMessages, kNews}}},
      {"an append",
       [&] { ASSERT_TRUE(store->AddMessage(news, "Subject: a\r\n\r\nbody")); },
       {{HostChangeKind::kMessages, kNews}}},
      {"a state",
       [&] {
         message = store->MessageAt(news, 0);
         ASSERT_TRUE(store->SetMessageState(message, kReadState));
       },
       {{HostChangeKind::kMessages, kNews}}},
      {"a new text",
       [&] { ASSERT_TRUE(store->ReplaceMessageText(message, "Subject: b\r\n\r\nfull")); },
       {{HostChangeKind::kMessages, kNews}}},
      {"a move changes both mailboxes",
       [&] { ASSERT_TRUE(store->MoveMessage(message, kTrashMailboxNumber)); },
       {{HostChangeKind::kMessages, kNews}, {HostChangeKind::kMessages, kTrashMailboxNumber}}},
      {"looking at mailboxes that did not change",
       [&] {
         store->MessageCount(news);
         store->MessageCount(kTrashMailboxNumber);
       },
       {}},
      {"a message another process appended, read at the next look",
       [&] {
         std::ofstream(PathOf("News.mbx"), std::ios::app) << Raw("b");
         std::filesystem::remove(PathOf("News.toc"));
         EXPECT_EQ(store->MessageCount(news), 1u);
       },
       {{HostChangeKind::kMessages, kNews}}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    heard.clear();
    step.operation();
    EXPECT_EQ(told_after(), step.told);
  }
}

TEST_F(MailStoreTest, ANewTextReplacesOneMessageInPlaceKeepingItsSeparatorAndState) {
  const std::vector<std::string> news = {Raw("a"), Raw("b"), Raw("c")};
  WriteFile(PathOf("News.mbx"), Join(news));
  const std::string new_text = "Subject: b\r\n\r\n<html>the whole page</html>";
  {
    auto store = Open();
    const int box = *store->FindByName("News");
    ASSERT_EQ(store->MessageCount(box), 3u);
    const MessagePtr message = store->MessageAt(box, 1);
    ASSERT_TRUE(store->SetMessageState(message, kReadState));
    ASSERT_TRUE(store->ReplaceMessageText(message, new_text));
    EXPECT_EQ(message->Text(), new_text);
    EXPECT_EQ(message->State(), kReadState);
    ASSERT_TRUE(store->Flush());
  }
  const std::string separator = news[1].substr(0, news[1].find("\r\n"));
  const std::vector<std::string> expected = {news[0], MakeRawMessage(separator, new_text), news[2]};
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), Join(expected));
  auto reopened = Open();
  const int box = *reopened->FindByName("News");
  EXPECT_EQ(reopened->RawMessages(box), expected);
  EXPECT_EQ(reopened->MessageAt(box, 1)->State(), kReadState);
  EXPECT_EQ(reopened->MessageAt(box, 2)->State(), 0);
}

TEST_F(MailStoreTest, ANewTextIsRefusedForAMessageNoLongerThereAndByAReadOnlyStore) {
  WriteFile(PathOf("News.mbx"), Raw("a"));
  auto store = Open();
  const int box = *store->FindByName("News");
  MessagePtr message = store->MessageAt(box, 0);
  ASSERT_TRUE(store->ReadMailboxAgain(box));
  // Indexed again, the mailbox holds a new message for the same bytes.
  EXPECT_FALSE(store->ReplaceMessageText(message, "Subject: x\r\n\r\nx"));
  auto read_only = MailStore::Open(dir_.path(), StoreAccess::kReadOnly);
  message = read_only->MessageAt(*read_only->FindByName("News"), 0);
  EXPECT_FALSE(read_only->ReplaceMessageText(message, "Subject: x\r\n\r\nx"));
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), Raw("a"));
}

TEST_F(MailStoreTest, AnEmptyMailboxHasNoMessages) {
  auto store = Open();
  const int box = *store->CreateMailbox(kTopLevel, "Empty");
  EXPECT_EQ(store->MessageCount(box), 0u);
  EXPECT_EQ(store->MessageAt(box, 0), nullptr);
  EXPECT_FALSE(store->MessageCount(*store->CreateFolder(kTopLevel, "F")).has_value());
}

TEST_F(MailStoreTest, AppendingToAFileWithoutFinalLineEndStartsANewLine) {
  const std::string cut = "From ???@??? Sun Dec 6 2026 13:46:41\r\nSubject: cut\r\n\r\nno end";
  WriteFile(PathOf("News.mbx"), cut);
  WriteFile(PathOf("Pending.mbx"), Raw("a"));
  auto store = Open();
  const int news = *store->FindByName("News");
  MoveAll(*store, *store->FindByName("Pending"), news);
  ASSERT_TRUE(store->Flush());
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), cut + "\r\n" + Raw("a"));
  auto reopened = Open();
  EXPECT_EQ(reopened->MessageCount(*reopened->FindByName("News")), 2u);
}

// Every file under `folder` with its bytes, folders marked by a trailing "/".
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string name = entry.path().lexically_relative(folder).string();
    files[entry.is_directory() ? name + "/" : name] =
        entry.is_directory() ? "" : ReadFile(entry.path().string());
  }
  return files;
}

TEST_F(MailStoreTest, AReadOnlyStoreChangesNoFile) {
  const std::vector<std::string> news = {Raw("a"), Raw("b")};
  const std::string torn = Raw("torn").substr(0, 70);
  WriteFile(PathOf("News.mbx"), Join(news) + torn);
  WriteFile(PathOf("News.toc"), FormatToc({}, Join(news).size()));
  WriteFile(PathOf("Loose.mbx"), Raw("c"));
  ASSERT_EQ(mkdir(PathOf("Feeds.fol").c_str(), 0755), 0);
  const auto before = Snapshot(dir_.path());
  {
    auto store = MailStore::Open(dir_.path(), StoreAccess::kReadOnly);
    ASSERT_NE(store, nullptr);
    std::vector<std::string> names;
    for (int child : store->Children(kTopLevel)) names.push_back(store->Item(child)->name);
    EXPECT_EQ(names, (std::vector<std::string>{"In", "Out", "Trash", "Feeds", "Loose", "News"}));
    const int box = *store->FindByName("News");
    // What was never committed is left out, and left where it is.
    EXPECT_EQ(store->RawMessages(box), news);
    EXPECT_EQ(store->MessageCount(kInMailboxNumber), 0u);
    EXPECT_TRUE(store->ReadMailboxAgain(*store->FindByName("Loose")));
    EXPECT_TRUE(store->ReadMailboxForOpening(box));
    const MessagePtr message = store->MessageAt(box, 0);
    EXPECT_FALSE(store->MoveMessage(message, kTrashMailboxNumber));
    EXPECT_FALSE(store->MoveMessage(message, box));
    EXPECT_FALSE(store->SetMessageState(message, 1));
    EXPECT_FALSE(store->AddMessage(kOutMailboxNumber, "Subject: x\r\n\r\nbody"));
    EXPECT_FALSE(store->CreateMailbox(kTopLevel, "Fresh").has_value());
    EXPECT_FALSE(store->CreateMailbox(kTopLevel, "News").has_value());
    EXPECT_FALSE(store->CreateFolder(kTopLevel, "More").has_value());
    EXPECT_EQ(store->MessageCount(box), 2u);
    EXPECT_TRUE(store->Flush());
  }
  EXPECT_EQ(Snapshot(dir_.path()), before);
  EXPECT_EQ(MailStore::Open(PathOf("missing"), StoreAccess::kReadOnly), nullptr);
  EXPECT_FALSE(std::filesystem::exists(PathOf("missing")));
}

TEST_F(MailStoreTest, AReadOnlyStoreFollowsWhatAnotherStoreDelivers) {
  WriteFile(PathOf("Pending.mbx"), Raw("a") + Raw("b"));
  auto writer = Open();
  const int news = *writer->CreateMailbox(kTopLevel, "News");
  auto reader = MailStore::Open(dir_.path(), StoreAccess::kReadOnly);
  const int seen = *reader->FindByName("News");
  EXPECT_EQ(reader->MessageCount(seen), 0u);
  const int pending = *writer->FindByName("Pending");
  ASSERT_TRUE(writer->MoveMessage(writer->MessageAt(pending, 1), news));
  EXPECT_EQ(reader->RawMessages(seen), std::vector<std::string>{Raw("b")});
  // The writer is in the middle of its next append.
  const std::string committed = ReadFile(PathOf("News.mbx"));
  WriteFile(PathOf("News.mbx"), committed + Raw("a").substr(0, 60));
  EXPECT_EQ(reader->RawMessages(seen), std::vector<std::string>{Raw("b")});
  EXPECT_EQ(ReadFile(PathOf("News.mbx")), committed + Raw("a").substr(0, 60));
}

}  // namespace
}  // namespace tavi::host
