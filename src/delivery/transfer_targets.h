#pragma once

// The mailboxes an article can be transferred into, as the article viewer's
// Transfer menu offers them: the host's tree walked depth-first, with the
// host's In and Out mailboxes and the mailboxes the user never files into
// left out. In is offered apart, as its own first entry.

#include <string>
#include <vector>

#include "delivery/host_automation.h"
#include "delivery/mailbox_tree.h"

namespace tavi {

// The host's number for In, which the Transfer menu's "&In" entry stands for.
inline constexpr std::int32_t kInMailboxNumber = 2;

// One entry of the Transfer menu: a mailbox (its command is its number), or
// a folder whose entries follow inside it.
struct TransferTarget {
  std::string name;
  std::int32_t number = kNoItemNumber;
  MailboxKind kind = MailboxKind::kMailbox;
  std::vector<TransferTarget> entries;  // a folder's; empty for a mailbox

  bool operator==(const TransferTarget&) const = default;
};

// Every mailbox and folder of the host's tree through `connection` (which
// must be connected), as CollectMailboxTree gives them, except the mailboxes
// whose file is `in_mailbox_file` or `out_mailbox_file` (letter case
// ignored).
std::vector<MailboxEntry> CollectTransferEntries(const HostConnection& connection,
                                                 const std::string& in_mailbox_file,
                                                 const std::string& out_mailbox_file);

// The Transfer menu's entries for the folder `folder_path` (the data folder
// for the top level), in collection order: EntriesInFolder without the names
// "Trash", "Out" and "Pending" (letter case ignored), each folder holding its
// own entries.
std::vector<TransferTarget> TransferTargetsIn(const std::vector<MailboxEntry>& entries,
                                              const std::string& folder_path);

}  // namespace tavi
