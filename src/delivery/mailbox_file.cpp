#include "delivery/mailbox_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "delivery/host_automation.h"
#include "files/file_names.h"
#include "platform/ascii.h"
#include "platform/fs.h"
#include "platform/oledate.h"
#include "store/pacing.h"

namespace tavi {
namespace {

constexpr const char* kSeparatorStart = "From ???@??? ";
// The host takes any line of this form for the start of the next message.
constexpr std::string_view kQuotedLineStart = "From ???@???";

constexpr std::size_t kIndexHeaderSize = 104;
constexpr std::size_t kIndexCountOffset = 102;
constexpr std::size_t kIndexEntrySize = 218;
constexpr std::size_t kIndexEntryStateOffset = 12;

using IndexHeader = std::array<unsigned char, kIndexHeaderSize>;
using IndexEntry = std::array<unsigned char, kIndexEntrySize>;

// Closes the file when it goes out of scope.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenFile(const std::string& path, const char* mode) {
  return FilePtr(std::fopen(path.c_str(), mode));
}

std::string TrimWhiteSpace(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && platform::IsAsciiWhiteSpace(text[begin])) ++begin;
  while (end > begin && platform::IsAsciiWhiteSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool ReadIndexHeader(std::FILE* file, IndexHeader& header) {
  return std::fread(header.data(), 1, header.size(), file) == header.size();
}

int MessageCount(const IndexHeader& header) {
  return header[kIndexCountOffset] | (header[kIndexCountOffset + 1] << 8);
}

bool IsUnreadEntry(const IndexEntry& entry) {
  const auto state = static_cast<std::int16_t>(entry[kIndexEntryStateOffset] |
                                               (entry[kIndexEntryStateOffset + 1] << 8));
  return state == 0;
}

// Writes all bytes at the end of the open file, or cuts the file back to its
// former length so that a failed append leaves no partial message behind.
// Unbuffered writes: nothing can reach the file after the cut.
bool AppendAllOrNothing(int descriptor, const std::string& text) {
  const off_t former_length = lseek(descriptor, 0, SEEK_END);
  if (former_length < 0) return false;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(descriptor, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    done += static_cast<std::size_t>(written);
  }
  if (done == text.size()) return true;
  if (ftruncate(descriptor, former_length) != 0) {
    // Nothing more can be done: the failure is reported either way.
  }
  return false;
}

// Closes the host's window on the staging mailbox. A window the host has not
// titled yet carries an empty title, so that one goes when no "Pending" is
// found.
void CloseStagingWindow(platform::WindowHandle mdi_client) {
  if (CloseHostMailboxWindow(mdi_client, kStagingMailboxName)) return;
  CloseHostMailboxWindow(mdi_client, "");
}

std::string EmptyOrCreateStagingMailbox(const std::string& mailbox_file) {
  if (FileExists(mailbox_file)) {
    if (TruncateFile(mailbox_file)) PaceWait(&Pacing::after_staging_step);
    return mailbox_file;
  }
  std::string created = CreateTopLevelMailbox(kStagingMailboxName);
  PaceWait(&Pacing::after_staging_step);
  return created;
}

bool StartsSeparatorLine(const std::string& text, std::size_t position) {
  const bool at_line_start = position == 0 || text[position - 1] == '\n';
  return at_line_start && text.compare(position, kQuotedLineStart.size(), kQuotedLineStart) == 0;
}

}  // namespace

std::string QuoteSeparatorLines(const std::string& text) {
  std::string quoted;
  quoted.reserve(text.size());
  for (std::size_t position = 0; position < text.size(); ++position) {
    if (StartsSeparatorLine(text, position)) quoted.push_back('>');
    quoted.push_back(text[position]);
  }
  return quoted;
}

std::string FormatSeparatorLine(const std::string& date_text) {
  platform::OleDate date = platform::ParseLocaleDateText(date_text);
  if (!date.IsValid()) date = platform::CurrentLocalDate();
  const auto calendar = date.Calendar();
  // Only a clock set outside the calendar's range leaves no date at all.
  if (!calendar) return kSeparatorStart;
  // The day goes without a leading zero, which the layouts cannot express.
  return kSeparatorStart + platform::FormatDate(date, "%a %b ") + std::to_string(calendar->day) +
         platform::FormatDate(date, " %Y %H:%M:%S");
}

std::string SafeMailboxName(const std::string& name) {
  return TrimWhiteSpace(MakeSafeFileName(TrimWhiteSpace(name)));
}

std::string MailboxFilePath(const std::string& data_folder, const std::string& mailbox_name,
                            bool index_file) {
  const std::string stem = SafeMailboxName(mailbox_name);
  return platform::JoinPath(data_folder, stem + (index_file ? ".toc" : ".mbx"));
}

bool AppendToMailboxFile(const std::string& path, const std::string& text) {
  // No O_CREAT: a missing mailbox is the host's to create, never ours.
  const int descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  const bool appended = AppendAllOrNothing(descriptor, text);
  return close(descriptor) == 0 && appended;
}

StagingPaths PrepareStagingMailbox(const std::string& data_folder,
                                   platform::WindowHandle mdi_client) {
  CloseStagingWindow(mdi_client);
  StagingPaths paths;
  paths.mailbox_file =
      EmptyOrCreateStagingMailbox(MailboxFilePath(data_folder, kStagingMailboxName, false));
  paths.index_file = MailboxFilePath(data_folder, kStagingMailboxName, true);
  if (!FileExists(paths.index_file)) return paths;
  // The host takes what lies beyond a standing table of contents for the
  // torn tail of a killed write, and cuts it: nothing may be staged then.
  if (!platform::DeleteFile(paths.index_file)) {
    paths.mailbox_file.clear();
    return paths;
  }
  PaceWait(&Pacing::after_staging_step);
  return paths;
}

int ReadMailboxIndexCount(const std::string& index_path) {
  // Opened for writing too, as the host opens its tables: one that the host
  // holds, or that is read-only, counts as unreadable.
  FilePtr file = OpenFile(index_path, "r+b");
  IndexHeader header;
  if (!file || !ReadIndexHeader(file.get(), header)) return -1;
  return MessageCount(header);
}

int CountUnreadMessages(const std::string& index_path) {
  FilePtr file = OpenFile(index_path, "rb");
  IndexHeader header;
  if (!file || !ReadIndexHeader(file.get(), header)) return -1;
  const int count = MessageCount(header);
  int unread = 0;
  IndexEntry entry;
  // The entries follow the header directly; a short file ends the count.
  for (int index = 0; index < count; ++index) {
    if (std::fread(entry.data(), 1, entry.size(), file.get()) != entry.size()) break;
    if (IsUnreadEntry(entry)) ++unread;
  }
  return unread;
}

}  // namespace tavi
