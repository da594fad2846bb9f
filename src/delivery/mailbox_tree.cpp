#include "delivery/mailbox_tree.h"

#include "delivery/host_members.h"
#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi {
namespace {

namespace members = host_members;
using platform::DispatchPtr;

// Deeper folders are not listed: a host that reports a folder inside itself
// must not take the picker down with it.
constexpr int kMaxFolderDepth = 64;

bool IsHidden(const DispatchPtr& item) {
  return item->Get(members::item::kHidden).AsInteger() == 1;
}

bool IsFolder(const DispatchPtr& item) {
  return item->Get(members::item::kIsFolder).AsInteger() != 0;
}

MailboxEntry EntryOf(const DispatchPtr& item, MailboxKind kind) {
  MailboxEntry entry;
  entry.name = item->Get(members::item::kName).AsText();
  entry.path = item->Get(members::item::kPath).AsText();
  entry.number = item->Get(members::item::kNumber).AsInteger();
  entry.kind = kind;
  if (kind == MailboxKind::kMailbox)
    entry.message_count = CollectionCount(item->Get(members::item::kMessages).AsObject());
  return entry;
}

void CollectItems(const DispatchPtr& collection, int depth, std::vector<MailboxEntry>& entries) {
  if (depth > kMaxFolderDepth) return;
  const std::int32_t count = CollectionCount(collection);
  for (std::int32_t index = 1; index <= count; ++index) {
    const DispatchPtr item = CollectionEntry(collection, index);
    if (!item || IsHidden(item)) continue;
    if (!IsFolder(item)) {
      entries.push_back(EntryOf(item, MailboxKind::kMailbox));
      continue;
    }
    entries.push_back(EntryOf(item, MailboxKind::kFolder));
    CollectItems(item->Get(members::item::kChildren).AsObject(), depth + 1, entries);
  }
}

// The path up to and including its last separator; "" without one.
std::string FolderPartOf(const std::string& path) {
  const std::size_t separator = path.rfind(platform::kPathSeparator);
  return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

std::string WithSeparator(std::string folder_path) {
  if (folder_path.empty() || folder_path.back() != platform::kPathSeparator)
    folder_path += platform::kPathSeparator;
  return folder_path;
}

}  // namespace

std::vector<MailboxEntry> CollectMailboxTree(const HostConnection& connection) {
  const DispatchPtr top = connection.TopLevel();
  if (CollectionCount(top) == 0) platform::PumpWaitingMessages();
  std::vector<MailboxEntry> entries;
  CollectItems(top, 0, entries);
  return entries;
}

std::vector<MailboxEntry> EntriesInFolder(const std::vector<MailboxEntry>& entries,
                                          const std::string& folder_path) {
  const std::string folder = WithSeparator(folder_path);
  std::vector<MailboxEntry> shown;
  for (const MailboxEntry& entry : entries) {
    if (entry.name.empty() || entry.path.empty()) continue;
    if (!platform::EqualsIgnoringCase(FolderPartOf(entry.path), folder)) continue;
    MailboxEntry copy = entry;
    if (platform::EndsWithIgnoringCase(entry.path, ".mbx")) {
      copy.kind = MailboxKind::kMailbox;
    } else if (platform::EndsWithIgnoringCase(entry.path, ".fol")) {
      copy.kind = MailboxKind::kFolder;
      copy.message_count = 0;
    } else {
      continue;
    }
    shown.push_back(std::move(copy));
  }
  return shown;
}

}  // namespace tavi
