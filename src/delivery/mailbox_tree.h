#pragma once

// The host's tree of mailboxes and folders as the mailbox picker shows it:
// one flat list collected from the automation server, then taken apart
// folder by folder.

#include <cstdint>
#include <string>
#include <vector>

#include "delivery/host_automation.h"

namespace tavi {

enum class MailboxKind { kMailbox = 1, kFolder = 2, kRoot = 3 };

// The number of a mailbox that was created in the picker: the host gave it
// none that the picker knows.
inline constexpr std::int32_t kCreatedMailboxNumber = -1;

// One mailbox or folder of the host's tree.
struct MailboxEntry {
  std::string name;  // display name
  std::string path;  // a mailbox's ".mbx" file, a folder's ".fol" folder
  std::int32_t number = kCreatedMailboxNumber;
  MailboxKind kind = MailboxKind::kMailbox;
  std::int32_t message_count = 0;  // 0 for folders and new mailboxes

  bool operator==(const MailboxEntry&) const = default;
};

// Every item of the host's tree that is not hidden, a folder before the items
// inside it, through `connection` (which must be connected). Items inside a
// hidden folder are left out with it, and so are folders nested deeper than
// a limit that no real tree reaches. When the top level is still empty the
// calling thread's waiting messages are handled once, since the host may
// still be loading, and the same collection is read again.
std::vector<MailboxEntry> CollectMailboxTree(const HostConnection& connection);

// The entries shown directly inside the folder `folder_path` (the data
// folder for the top level), in list order: those whose path, up to and
// including its last separator, is `folder_path` and a separator (letter
// case ignored), with a name and a path ending in ".mbx" or ".fol". A ".mbx"
// entry is a mailbox and a ".fol" one a folder (count 0), whatever the host
// said.
std::vector<MailboxEntry> EntriesInFolder(const std::vector<MailboxEntry>& entries,
                                          const std::string& folder_path);

}  // namespace tavi
