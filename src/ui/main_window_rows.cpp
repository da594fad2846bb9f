#include "ui/main_window_rows.h"

#include <algorithm>

#include "delivery/mailbox_file.h"
#include "files/file_names.h"
#include "platform/ascii.h"
#include "store/profile.h"

namespace tavi {
namespace {

constexpr std::size_t kExtensionLength = 3;

}  // namespace

std::string IndexPathOf(const std::string& mailbox_path) {
  if (mailbox_path.size() < kExtensionLength) return "";
  return mailbox_path.substr(0, mailbox_path.size() - kExtensionLength) + "toc";
}

NewsboxEntry ReadNewsboxEntry(const std::string& name, const std::string& mailbox_path) {
  NewsboxEntry entry{name, mailbox_path, IndexPathOf(mailbox_path)};
  entry.message_count = ReadMailboxIndexCount(entry.index_path);
  entry.unread_count = CountUnreadMessages(entry.index_path);
  return entry;
}

std::string NewsboxRowText(const NewsboxEntry& entry) {
  return entry.name + " (" + std::to_string(entry.unread_count) + "/" +
         std::to_string(entry.message_count) + ")";
}

int NewsboxImageIndex(const NewsboxEntry& entry) {
  if (entry.message_count < 1) return 0;
  if (entry.unread_count < 1) return 1;
  return 2;
}

bool NeedsNewsboxRow(const FeedRecord& feed, const std::vector<NewsboxEntry>& entries) {
  if (!FileExists(feed.NewsboxPath)) return false;
  return std::none_of(entries.begin(), entries.end(), [&](const NewsboxEntry& entry) {
    return platform::EqualsIgnoringCase(entry.mailbox_path, feed.NewsboxPath);
  });
}

std::string StoredNewsboxOf(const std::string& alias, const std::string& settings_file) {
  return ReadProfileString(alias, settings::kNewsbox, MakeSafeFileName(alias), settings_file);
}

}  // namespace tavi
