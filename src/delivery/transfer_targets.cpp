#include "delivery/transfer_targets.h"

#include <algorithm>
#include <array>

#include "platform/ascii.h"

namespace tavi {
namespace {

// Trash and Out hold nothing the user files, and Pending is emptied by the
// next check or transfer: an article moved there would be lost.
constexpr std::array<const char*, 3> kUnofferedNames = {"Trash", "Out", "Pending"};

// Deeper folders are not offered; no real tree reaches this.
constexpr int kMaxFolderDepth = 64;

bool IsUnofferedName(const std::string& name) {
  return std::any_of(
      kUnofferedNames.begin(), kUnofferedNames.end(),
      [&name](const char* unoffered) { return platform::EqualsIgnoringCase(name, unoffered); });
}

bool IsMailboxFile(const MailboxEntry& entry, const std::string& path) {
  return !path.empty() && entry.kind == MailboxKind::kMailbox &&
         platform::EqualsIgnoringCase(entry.path, path);
}

std::vector<TransferTarget> TargetsIn(const std::vector<MailboxEntry>& entries,
                                      const std::string& folder_path, int depth) {
  std::vector<TransferTarget> targets;
  if (depth > kMaxFolderDepth) return targets;
  for (const MailboxEntry& entry : EntriesInFolder(entries, folder_path)) {
    if (IsUnofferedName(entry.name)) continue;
    TransferTarget target{entry.name, entry.number, entry.kind, {}};
    if (entry.kind == MailboxKind::kFolder)
      target.entries = TargetsIn(entries, entry.path, depth + 1);
    targets.push_back(std::move(target));
  }
  return targets;
}

}  // namespace

std::vector<MailboxEntry> CollectTransferEntries(const HostConnection& connection,
                                                 const std::string& in_mailbox_file,
                                                 const std::string& out_mailbox_file) {
  std::vector<MailboxEntry> entries = CollectMailboxTree(connection);
  std::erase_if(entries, [&](const MailboxEntry& entry) {
    return IsMailboxFile(entry, in_mailbox_file) || IsMailboxFile(entry, out_mailbox_file);
  });
  return entries;
}

std::vector<TransferTarget> TransferTargetsIn(const std::vector<MailboxEntry>& entries,
                                              const std::string& folder_path) {
  return TargetsIn(entries, folder_path, 0);
}

}  // namespace tavi
