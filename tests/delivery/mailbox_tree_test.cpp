#include "delivery/mailbox_tree.h"

#include <gtest/gtest.h>

#include "host/host.h"
#include "support/host_test.h"

namespace tavi {
namespace {

class MailboxTreeTest : public testing::HostTest {
 protected:
  int NewFolder(int parent, const std::string& name) {
    return Store().CreateFolder(parent, name).value_or(-1);
  }
  int NewMailbox(int parent, const std::string& name) {
    return Store().CreateMailbox(parent, name).value_or(-1);
  }
  MailboxEntry EntryFor(int number, MailboxKind kind, int count = 0) {
    const host::ItemInfo item = *Store().Item(number);
    return {item.name, item.path, number, kind, count};
  }
};

TEST_F(MailboxTreeTest, EveryVisibleItemIsListedWithItsFolderBeforeIt) {
  const int feeds = NewFolder(host::kTopLevel, "Feeds");
  const int tech = NewFolder(feeds, "Tech");
  const int daily = NewMailbox(tech, "Daily");
  ASSERT_TRUE(Store().AddMessage(daily, "Subject: a\r\n\r\nbody"));
  ASSERT_TRUE(Store().AddMessage(daily, "Subject: b\r\n\r\nbody"));
  const int secret = NewFolder(host::kTopLevel, "Secret");
  NewMailbox(secret, "Inside");
  const int hidden = NewMailbox(host::kTopLevel, "Hidden");
  ASSERT_TRUE(Store().SetHidden(secret, true));
  ASSERT_TRUE(Store().SetHidden(hidden, true));
  const HostConnection connection;
  ASSERT_TRUE(connection.IsConnected());

  const std::vector<MailboxEntry> expected = {
      EntryFor(host::kInMailboxNumber, MailboxKind::kMailbox),
      EntryFor(host::kOutMailboxNumber, MailboxKind::kMailbox),
      EntryFor(host::kTrashMailboxNumber, MailboxKind::kMailbox),
      EntryFor(feeds, MailboxKind::kFolder),
      EntryFor(tech, MailboxKind::kFolder),
      EntryFor(daily, MailboxKind::kMailbox, 2),
  };
  EXPECT_EQ(CollectMailboxTree(connection), expected);
}

TEST(MailboxTreeFolders, AFolderShowsItsOwnMailboxesAndFoldersOnly) {
  const std::vector<MailboxEntry> entries = {
      {"In", "/d/In.mbx", 2, MailboxKind::kMailbox, 4},
      {"Feeds", "/d/Feeds.fol", 5, MailboxKind::kFolder, 0},
      {"Daily", "/d/Feeds.fol/Daily.mbx", 6, MailboxKind::kMailbox, 1},
      // Letter case of the folder part is not looked at.
      {"Upper", "/D/IN.MBX", 7, MailboxKind::kMailbox, 0},
      // A name the host gives with its path decides the kind, not the host's flag.
      {"Odd", "/d/Odd.fol", 8, MailboxKind::kMailbox, 3},
      {"Notes", "/d/Notes.txt", 9, MailboxKind::kMailbox, 0},
      {"", "/d/Nameless.mbx", 10, MailboxKind::kMailbox, 0},
      {"Pathless", "", 11, MailboxKind::kMailbox, 0},
  };
  const std::vector<MailboxEntry> top = {
      entries[0], entries[1], entries[3], {"Odd", "/d/Odd.fol", 8, MailboxKind::kFolder, 0}};
  EXPECT_EQ(EntriesInFolder(entries, "/d"), top);
  EXPECT_EQ(EntriesInFolder(entries, "/d/"), top);
  EXPECT_EQ(EntriesInFolder(entries, "/d/feeds.fol"), std::vector<MailboxEntry>{entries[2]});
  EXPECT_TRUE(EntriesInFolder(entries, "/d/Daily.fol").empty());
}

}  // namespace
}  // namespace tavi
