#include "delivery/transfer_targets.h"

#include <gtest/gtest.h>

#include "host/host.h"
#include "support/host_test.h"

namespace tavi {
namespace {

using Kind = MailboxKind;

TEST(TransferTargetsIn, FoldersHoldTheirOwnEntriesAndUnfiledMailboxesAreLeftOut) {
  const std::vector<MailboxEntry> entries = {
      {"Trash", "/d/Trash.mbx", 4, Kind::kMailbox, 0},
      {"PENDING", "/d/Pending.mbx", 9, Kind::kMailbox, 0},
      {"Archive", "/d/Archive.mbx", 5, Kind::kMailbox, 0},
      {"Feeds", "/d/Feeds.fol", 6, Kind::kFolder, 0},
      {"Daily", "/d/Feeds.fol/Daily.mbx", 7, Kind::kMailbox, 0},
      // Only the top-level Out is the host's; the name is left out anywhere.
      {"out", "/d/Feeds.fol/out.mbx", 8, Kind::kMailbox, 0},
      {"Empty", "/d/Feeds.fol/Empty.fol", 10, Kind::kFolder, 0},
  };
  const std::vector<TransferTarget> expected = {
      {"Archive", 5, Kind::kMailbox, {}},
      {"Feeds",
       6,
       Kind::kFolder,
       {{"Daily", 7, Kind::kMailbox, {}}, {"Empty", 10, Kind::kFolder, {}}}},
  };
  EXPECT_EQ(TransferTargetsIn(entries, "/d"), expected);
}

class CollectTransferEntriesTest : public testing::HostTest {};

TEST_F(CollectTransferEntriesTest, InAndOutAreLeftOutByTheirFiles) {
  const int archive = Store().CreateMailbox(host::kTopLevel, "Archive").value_or(-1);
  const HostConnection connection;
  ASSERT_TRUE(connection.IsConnected());
  const std::string in_file = Store().Item(host::kInMailboxNumber)->path;
  const std::string out_file = Store().Item(host::kOutMailboxNumber)->path;

  std::vector<std::int32_t> numbers;
  for (const MailboxEntry& entry : CollectTransferEntries(connection, in_file, out_file))
    numbers.push_back(entry.number);

  EXPECT_EQ(numbers, (std::vector<std::int32_t>{host::kTrashMailboxNumber, archive}));
}

}  // namespace
}  // namespace tavi
