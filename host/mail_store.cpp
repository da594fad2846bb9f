#include "host/mail_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <deque>

#include "host/mbx_format.h"
#include "platform/ascii.h"
#include "platform/clock.h"
#include "platform/fs.h"

namespace tavi::host {
namespace {

constexpr std::string_view kMailboxExtension = ".mbx";
constexpr std::string_view kFolderExtension = ".fol";
constexpr std::string_view kForbiddenCharacters = "\\/:*?\"<>|";

struct SystemMailbox {
  const char* name;
  int number;
};
constexpr SystemMailbox kSystemMailboxes[] = {
    {"In", kInMailboxNumber}, {"Out", kOutMailboxNumber}, {"Trash", kTrashMailboxNumber}};

bool IsSystemMailbox(int number) {
  return number == kInMailboxNumber || number == kOutMailboxNumber || number == kTrashMailboxNumber;
}

bool IsUnsafeCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F || kForbiddenCharacters.find(c) != std::string_view::npos;
}

bool HasExtension(std::string_view name, std::string_view extension) {
  return name.size() > extension.size() && platform::EndsWithIgnoringCase(name, extension);
}

bool IsFolder(const std::string& path) {
  const auto attributes = platform::GetFileAttributes(path);
  return attributes && attributes->directory;
}

bool EnsureFolder(const std::string& path) {
  if (platform::GetFileAttributes(path)) return IsFolder(path);
  return platform::CreateFolder(path);
}

// In, Out, Trash first at the top level; then by name, letter case ignored.
bool ComesBefore(const ItemInfo& a, const ItemInfo& b) {
  const int rank_a = IsSystemMailbox(a.number) ? a.number : kTrashMailboxNumber + 1;
  const int rank_b = IsSystemMailbox(b.number) ? b.number : kTrashMailboxNumber + 1;
  if (rank_a != rank_b) return rank_a < rank_b;
  const std::string name_a = platform::ToLowerAscii(a.name);
  const std::string name_b = platform::ToLowerAscii(b.name);
  if (name_a != name_b) return name_a < name_b;
  return a.number < b.number;
}

// Every entry of a folder, those whose names begin with a dot included.
std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names = platform::FindFiles(platform::JoinPath(path, "*"));
  for (std::string& hidden : platform::FindFiles(platform::JoinPath(path, ".*"))) {
    names.push_back(std::move(hidden));
  }
  return names;
}

}  // namespace

std::optional<std::string> MailboxStem(const std::string& name) {
  std::string stem;
  for (char c : name) {
    if (!IsUnsafeCharacter(c)) stem += c;
  }
  // Blanks stay: a client that names a mailbox " News" builds its path from
  // the name as typed, and must find the file there.
  if (stem.find_first_not_of(" \t.") == std::string::npos) return std::nullopt;
  return stem;
}

MailStore::MailStore(std::string data_folder, StoreAccess access)
    : data_folder_(std::move(data_folder)), access_(access) {
  Node top;
  top.info = {kTopLevel, true, "", data_folder_, false, kTopLevel};
  nodes_.emplace(kTopLevel, std::move(top));
}

MailStore::~MailStore() { Flush(); }

std::unique_ptr<MailStore> MailStore::Open(const std::string& data_folder, StoreAccess access) {
  std::string folder = data_folder;
  while (folder.size() > 1 && folder.back() == platform::kPathSeparator) folder.pop_back();
  if (folder.empty()) return nullptr;
  if (!(access == StoreAccess::kReadOnly ? IsFolder(folder) : EnsureFolder(folder))) return nullptr;
  std::unique_ptr<MailStore> store(new MailStore(folder, access));
  if (!store->EnsureSystemMailboxes()) return nullptr;
  store->ScanFolder(kTopLevel);
  return store;
}

bool MailStore::EnsureSystemMailboxes() {
  const std::vector<std::string> present =
      platform::FindFiles(platform::JoinPath(data_folder_, "*"));
  for (const SystemMailbox& system : kSystemMailboxes) {
    const std::string wanted = std::string(system.name) + std::string(kMailboxExtension);
    const auto found = std::find_if(present.begin(), present.end(), [&](const std::string& name) {
      return platform::EqualsIgnoringCase(name, wanted);
    });
    // An existing file keeps its own spelling, which a case-sensitive file
    // system needs to find it again.
    const std::string file_name = found == present.end() ? wanted : *found;
    const std::string path = platform::JoinPath(data_folder_, file_name);
    if (access_ == StoreAccess::kReadWrite && !platform::EnsureFile(path)) return false;
    AddItem(kTopLevel, file_name.substr(0, file_name.size() - kMailboxExtension.size()), path,
            false, system.number);
  }
  return true;
}

void MailStore::ScanFolder(int folder) {
  const std::string folder_path = nodes_.at(folder).info.path;
  for (const std::string& name : ListFolder(folder_path)) {
    const bool is_mailbox = HasExtension(name, kMailboxExtension);
    const bool is_folder = HasExtension(name, kFolderExtension);
    if (!is_mailbox && !is_folder) continue;
    const std::string path = platform::JoinPath(folder_path, name);
    const auto known = numbers_by_path_.find(path);
    if (known != numbers_by_path_.end()) {
      if (is_folder) ScanFolder(known->second);
      continue;
    }
    const auto attributes = platform::GetFileAttributes(path);
    if (!attributes || attributes->directory != is_folder) continue;
    const int number = AddItem(folder, name.substr(0, name.size() - kMailboxExtension.size()), path,
                               is_folder, next_item_number_++);
    if (is_folder) ScanFolder(number);
  }
}

int MailStore::AddItem(int parent, const std::string& stem, const std::string& path, bool folder,
                       int number) {
  Node node;
  node.info = {number, folder, stem, path, false, parent};
  if (!folder) {
    node.mailbox =
        std::make_unique<Mailbox>(number, path, &next_message_number_, access_, &listener_);
  }
  const ItemInfo info = node.info;
  nodes_.emplace(number, std::move(node));
  numbers_by_path_[path] = number;
  std::vector<int>& siblings = nodes_.at(parent).children;
  const auto position = std::find_if(siblings.begin(), siblings.end(), [&](int sibling) {
    return ComesBefore(info, nodes_.at(sibling).info);
  });
  siblings.insert(position, number);
  if (listener_) listener_({HostChangeKind::kMailboxTree, 0});
  return number;
}

std::string MailStore::ChildPath(int parent, const std::string& stem, bool folder) const {
  const std::string_view extension = folder ? kFolderExtension : kMailboxExtension;
  return platform::JoinPath(nodes_.at(parent).info.path, stem + std::string(extension));
}

std::optional<ItemInfo> MailStore::Item(int number) const {
  const auto found = nodes_.find(number);
  if (number == kTopLevel || found == nodes_.end()) return std::nullopt;
  return found->second.info;
}

std::vector<int> MailStore::Children(int folder) const {
  const auto found = nodes_.find(folder);
  if (found == nodes_.end() || !found->second.info.folder) return {};
  return found->second.children;
}

void MailStore::ReadFoldersAgain() { ScanFolder(kTopLevel); }

std::optional<int> MailStore::FindChildByName(int parent, const std::string& name,
                                              bool folder) const {
  for (int child : nodes_.at(parent).children) {
    const ItemInfo& info = nodes_.at(child).info;
    if (info.folder == folder && platform::EqualsIgnoringCase(info.name, name)) return child;
  }
  return std::nullopt;
}

std::optional<int> MailStore::SearchByName(const std::string& name) const {
  std::deque<int> folders = {kTopLevel};
  while (!folders.empty()) {
    const int folder = folders.front();
    folders.pop_front();
    for (int child : nodes_.at(folder).children) {
      const ItemInfo& info = nodes_.at(child).info;
      if (platform::EqualsIgnoringCase(info.name, name)) return child;
      if (info.folder) folders.push_back(child);
    }
  }
  return std::nullopt;
}

std::optional<int> MailStore::SearchByPath(const std::string& path) const {
  for (const auto& [number, node] : nodes_) {
    if (number != kTopLevel && platform::EqualsIgnoringCase(node.info.path, path)) return number;
  }
  return std::nullopt;
}

std::optional<int> MailStore::FindByName(const std::string& name) {
  if (auto found = SearchByName(name)) return found;
  ReadFoldersAgain();
  return SearchByName(name);
}

std::optional<int> MailStore::FindByPath(const std::string& path) {
  if (auto found = SearchByPath(path)) return found;
  ReadFoldersAgain();
  return SearchByPath(path);
}

std::optional<int> MailStore::CreateMailbox(int parent, const std::string& name) {
  if (access_ == StoreAccess::kReadOnly) return std::nullopt;
  const std::optional<std::string> stem = MailboxStem(name);
  const auto parent_node = nodes_.find(parent);
  if (!stem || parent_node == nodes_.end() || !parent_node->second.info.folder) return std::nullopt;
  if (auto existing = FindChildByName(parent, *stem, false)) return existing;
  const std::string path = ChildPath(parent, *stem, false);
  if (!platform::EnsureFile(path)) return std::nullopt;
  const int number = AddItem(parent, *stem, path, false, next_item_number_++);
  // Indexing writes the table of contents of the new (or adopted) mailbox.
  nodes_.at(number).mailbox->ReadAgain();
  return number;
}

std::optional<int> MailStore::CreateFolder(int parent, const std::string& name) {
  if (access_ == StoreAccess::kReadOnly) return std::nullopt;
  const std::optional<std::string> stem = MailboxStem(name);
  const auto parent_node = nodes_.find(parent);
  if (!stem || parent_node == nodes_.end() || !parent_node->second.info.folder) return std::nullopt;
  if (auto existing = FindChildByName(parent, *stem, true)) return existing;
  const std::string path = ChildPath(parent, *stem, true);
  if (!EnsureFolder(path)) return std::nullopt;
  const int number = AddItem(parent, *stem, path, true, next_item_number_++);
  ScanFolder(number);
  return number;
}

bool MailStore::SetHidden(int number, bool hidden) {
  const auto found = nodes_.find(number);
  if (number == kTopLevel || found == nodes_.end()) return false;
  found->second.info.hidden = hidden;
  return true;
}

Mailbox* MailStore::MailboxOf(int number) {
  const auto found = nodes_.find(number);
  return found == nodes_.end() ? nullptr : found->second.mailbox.get();
}

Mailbox* MailStore::UpToDateMailbox(int number) {
  Mailbox* mailbox = MailboxOf(number);
  return mailbox != nullptr && mailbox->ReadIfChanged() ? mailbox : nullptr;
}

bool MailStore::ReadMailboxAgain(int mailbox) {
  Mailbox* found = MailboxOf(mailbox);
  return found != nullptr && found->ReadAgain();
}

bool MailStore::ReadMailboxForOpening(int mailbox) {
  Mailbox* found = MailboxOf(mailbox);
  return found != nullptr && found->ReadForOpening();
}

std::optional<std::size_t> MailStore::MessageCount(int mailbox) {
  Mailbox* found = UpToDateMailbox(mailbox);
  if (found == nullptr) return std::nullopt;
  return found->Count();
}

MessagePtr MailStore::MessageAt(int mailbox, std::size_t index) {
  Mailbox* found = MailboxOf(mailbox);
  if (found != nullptr && !found->ReadOnce()) return nullptr;
  if (found == nullptr || index >= found->Count()) return nullptr;
  return found->At(index);
}

std::vector<std::string> MailStore::RawMessages(int mailbox) {
  std::vector<std::string> raws;
  Mailbox* found = UpToDateMailbox(mailbox);
  if (found == nullptr) return raws;
  for (std::size_t i = 0; i < found->Count(); ++i) raws.push_back(found->At(i)->Raw());
  return raws;
}

bool MailStore::AddMessage(int mailbox, const std::string& text) {
  Mailbox* found = UpToDateMailbox(mailbox);
  if (found == nullptr) return false;
  const std::string raw = MakeRawMessage(FormatSeparatorLine(platform::Now()), text);
  if (!found->Append(std::make_shared<StoredMessage>(raw, next_message_number_++))) return false;
  changed_.insert(mailbox);
  return true;
}

bool MailStore::MoveMessage(const MessagePtr& message, int target) {
  const int source = message->MailboxNumber();
  if (source == 0 || access_ == StoreAccess::kReadOnly) return false;
  if (source == target) return MailboxOf(target) != nullptr;
  Mailbox* from = UpToDateMailbox(source);
  Mailbox* to = UpToDateMailbox(target);
  // Reading may have indexed the source afresh, which lets go of the message.
  if (from == nullptr || to == nullptr || message->MailboxNumber() != source) return false;
  // The target's file takes the message before the source lets it go.
  if (!to->Append(message)) return false;
  from->Remove(message);
  changed_.insert(source);
  changed_.insert(target);
  return true;
}

bool MailStore::ReplaceMessageText(const MessagePtr& message, std::string_view text) {
  Mailbox* mailbox = UpToDateMailbox(message->MailboxNumber());
  return mailbox != nullptr && mailbox->ReplaceText(message, text);
}

bool MailStore::SetMessageState(const MessagePtr& message, std::int16_t state) {
  Mailbox* mailbox = MailboxOf(message->MailboxNumber());
  if (mailbox == nullptr || !mailbox->SetState(message, state)) return false;
  changed_.insert(message->MailboxNumber());
  return true;
}

bool MailStore::Flush() {
  bool all_written = true;
  for (auto it = changed_.begin(); it != changed_.end();) {
    Mailbox* mailbox = MailboxOf(*it);
    if (mailbox != nullptr && !mailbox->Flush()) {
      all_written = false;
      ++it;
      continue;
    }
    it = changed_.erase(it);
  }
  return all_written;
}

}  // namespace tavi::host
