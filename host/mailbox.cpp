#include "host/mailbox.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cassert>
#include <cerrno>
#include <optional>
#include <unordered_map>
#include <utility>

#include "host/mbx_format.h"
#include "host/toc_commit.h"
#include "host/toc_file.h"
#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi::host {
namespace {

constexpr std::string_view kMailboxExtension = ".mbx";
constexpr std::string_view kTocExtension = ".toc";

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStamp StampOfStat(const struct stat& info) {
  return {true,
          info.st_dev,
          info.st_ino,
          info.st_size,
          Nanoseconds(info.st_mtim),
          Nanoseconds(info.st_ctim)};
}

FileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {};
  return StampOfStat(info);
}

// The file's bytes; an absent file reads as an empty mailbox. nullopt when
// the file is there but cannot be read.
std::optional<std::string> ReadMailboxBytes(const std::string& path) {
  if (auto bytes = platform::ReadFileBytes(path)) return bytes;
  if (!platform::GetFileAttributes(path)) return std::string();
  return std::nullopt;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Whatever is appended must start on a line of its own, or its separator
// line would not be seen as one.
bool EndsInLineFeed(int fd, off_t size) {
  if (size == 0) return true;
  char last = 0;
  return pread(fd, &last, 1, size - 1) == 1 && last == '\n';
}

// A failed append is cut back off, so the file holds no half message. Should
// even that fail, the tail lies beyond the committed length, and whoever
// reads the file afresh cuts it off.
bool CutBack(int fd, off_t size) { return ftruncate(fd, size) == 0; }

TocEntry EntryOf(const StoredMessage& message, std::uint64_t offset) {
  return {static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(message.Raw().size()),
          message.Checksum(), message.State()};
}

// Messages are recognised again by their bytes: equal bytes, equal state.
using StateKey = std::uint64_t;

StateKey KeyOf(std::uint32_t checksum, std::size_t length) {
  return (static_cast<StateKey>(checksum) << 32) ^ static_cast<std::uint32_t>(length);
}

}  // namespace

StoredMessage::StoredMessage(std::string raw, int number)
    : raw_(std::move(raw)), number_(number), checksum_(MessageChecksum(raw_)) {}

std::string_view StoredMessage::Text() const { return MessageText(raw_); }
std::string_view StoredMessage::Body() const { return MessageBody(raw_); }
std::string_view StoredMessage::MessageId() const { return MessageHeaderValue(raw_, "Message-Id"); }
std::string_view StoredMessage::Subject() const { return MessageHeaderValue(raw_, "Subject"); }

Mailbox::Mailbox(int number, std::string mbx_path, int* next_message_number, StoreAccess access,
                 const HostChangeListener* listener)
    : number_(number),
      path_(std::move(mbx_path)),
      next_message_number_(next_message_number),
      access_(access),
      listener_(listener) {}

std::string Mailbox::TocPath() const {
  const bool has_extension = platform::EndsWithIgnoringCase(path_, kMailboxExtension);
  const std::string stem =
      has_extension ? path_.substr(0, path_.size() - kMailboxExtension.size()) : path_;
  return stem + std::string(kTocExtension);
}

bool Mailbox::ReadIfChanged() {
  if (loaded_ && StampOf(path_) == known_) return true;
  return Read();
}

bool Mailbox::ReadAgain() { return Read(); }

bool Mailbox::ReadForOpening() {
  if (!ReadIfChanged()) return false;
  return access_ == StoreAccess::kReadOnly || platform::GetFileAttributes(TocPath()) || WriteToc();
}

bool Mailbox::ReadOnce() { return loaded_ || Read(); }

bool Mailbox::Read() {
  // Stamped before reading: a change made while reading is seen next time.
  FileStamp stamp = StampOf(path_);
  std::optional<std::string> bytes = ReadCommittedBytes(stamp);
  if (!bytes) return false;
  if (!removed_.empty()) {
    if (!WriteWithoutRemoved(*bytes)) return false;
    stamp = StampOf(path_);
  }
  ParsedMailboxFile parsed = ParseMailboxFile(*bytes);
  Adopt(parsed);
  known_ = stamp;
  file_length_ = bytes->size();
  loaded_ = true;
  toc_stale_ = true;
  // The index in memory stands even when the table of contents cannot be
  // written; it stays stale and Flush tries again.
  WriteToc();
  return true;
}

std::optional<std::string> Mailbox::ReadCommittedBytes(FileStamp& stamp) {
  // The committed length first: whatever is appended and committed while the
  // file is read lies within what is then read.
  const std::optional<std::uint64_t> committed = ReadCommittedLength(TocPath());
  std::optional<std::string> bytes = ReadMailboxBytes(path_);
  if (!bytes || !committed || bytes->size() <= *committed) return bytes;
  // A writable store holds the data folder alone, and once it has read the
  // file its own appends are committed or cut back at once: bytes beyond the
  // committed length are then an append of the plug-in's in this process
  // (staging after the host indexed the file half-way), and kept.
  if (loaded_ && access_ == StoreAccess::kReadWrite) return bytes;
  // Read afresh, beyond the committed length lies an append that never
  // completed (the process was killed while writing it): a writable store
  // cuts it off, and one that cannot holds the file unreadable rather than
  // ever commit the torn bytes with a later append. A read-only store only
  // leaves it out.
  if (access_ == StoreAccess::kReadWrite) {
    if (truncate(path_.c_str(), static_cast<off_t>(*committed)) != 0) return std::nullopt;
    stamp = StampOf(path_);
  }
  bytes->resize(*committed);
  return bytes;
}

bool Mailbox::WriteWithoutRemoved(std::string& bytes) {
  const ParsedMailboxFile parsed = ParseMailboxFile(bytes);
  std::unordered_map<std::string_view, int> pending;
  for (const MessagePtr& message : removed_) ++pending[message->raw_];
  std::string kept = parsed.preamble;
  kept.reserve(bytes.size());
  for (const std::string& raw : parsed.messages) {
    const auto found = pending.find(raw);
    if (found != pending.end() && found->second > 0) {
      --found->second;
      continue;
    }
    kept += raw;
  }
  if (!platform::ReplaceFile(path_, kept)) return false;
  removed_.clear();
  bytes = std::move(kept);
  return true;
}

void Mailbox::Adopt(ParsedMailboxFile& parsed) {
  std::unordered_map<StateKey, std::int16_t> states;
  if (loaded_) {
    for (const MessagePtr& message : messages_) {
      states[KeyOf(message->checksum_, message->raw_.size())] = message->state_;
    }
  } else if (auto toc = ParseToc(platform::ReadFileBytes(TocPath()).value_or(""))) {
    for (const TocEntry& entry : toc->entries) {
      states[KeyOf(entry.checksum, entry.length)] = entry.state;
    }
  }
  // Whoever still holds a message of the old index sees it gone.
  for (const MessagePtr& message : messages_) message->mailbox_ = 0;
  messages_.clear();
  messages_.reserve(parsed.messages.size());
  preamble_ = std::move(parsed.preamble);
  for (std::size_t i = 0; i < parsed.messages.size(); ++i) {
    auto message =
        std::make_shared<StoredMessage>(std::move(parsed.messages[i]), (*next_message_number_)++);
    message->offset_ = parsed.offsets[i];
    message->mailbox_ = number_;
    const auto state = states.find(KeyOf(message->checksum_, message->raw_.size()));
    if (state != states.end()) message->state_ = state->second;
    messages_.push_back(std::move(message));
  }
  TellChanged();
}

void Mailbox::TellChanged() const {
  if (listener_ != nullptr && *listener_) (*listener_)({HostChangeKind::kMessages, number_});
}

bool Mailbox::Append(const MessagePtr& message) {
  assert(loaded_ && "Read the mailbox before appending to it");
  if (access_ == StoreAccess::kReadOnly) return false;
  const int fd = open(path_.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  FileStamp after;
  const std::optional<std::uint64_t> offset = AppendCommitted(fd, *message, after);
  // Don't retry close on EINTR: the descriptor is gone either way.
  if (close(fd) != 0 || !offset) return false;
  message->offset_ = *offset;
  message->mailbox_ = number_;
  messages_.push_back(message);
  known_ = after;
  file_length_ = static_cast<std::uint64_t>(after.size);
  TellChanged();
  return true;
}

// The message's bytes at the end of the open file, committed; the offset at
// which it starts, or nullopt with the file cut back to where it ended.
std::optional<std::uint64_t> Mailbox::AppendCommitted(int fd, const StoredMessage& message,
                                                      FileStamp& after) {
  struct stat before {};
  if (fstat(fd, &before) != 0) return std::nullopt;
  const std::string_view line_end = EndsInLineFeed(fd, before.st_size) ? "" : "\r\n";
  std::string_view bytes = message.raw_;
  std::string joined;
  if (!line_end.empty()) bytes = joined = std::string(line_end) + message.raw_;
  const std::uint64_t offset = static_cast<std::uint64_t>(before.st_size) + line_end.size();
  struct stat written {};
  const bool committed = WriteAll(fd, bytes) && fstat(fd, &written) == 0 &&
                         Commit(EntryOf(message, offset), before.st_size, written.st_size);
  if (committed) {
    after = StampOfStat(written);
    return offset;
  }
  CutBack(fd, before.st_size);
  return std::nullopt;
}

bool Mailbox::Commit(const TocEntry& entry, std::uint64_t length_before,
                     std::uint64_t length_after) {
  if (CommitAppendedEntry(TocPath(), entry, length_before, length_after)) return true;
  // The table on disk does not end where the file did (never written,
  // deleted, or a write failed): it is written whole, once, with the new
  // message, and the appends after it commit in place again.
  std::vector<TocEntry> entries = TocEntries();
  entries.push_back(entry);
  return platform::ReplaceFile(TocPath(), FormatToc(entries, length_after));
}

bool Mailbox::Remove(const MessagePtr& message) {
  // Searched from the end: a client moving messages goes from the last one.
  for (std::size_t i = messages_.size(); i-- > 0;) {
    if (messages_[i] != message) continue;
    messages_.erase(messages_.begin() + static_cast<std::ptrdiff_t>(i));
    removed_.push_back(message);
    toc_stale_ = true;
    TellChanged();
    return true;
  }
  return false;
}

bool Mailbox::ReplaceText(const MessagePtr& message, std::string_view text) {
  if (access_ == StoreAccess::kReadOnly || message->mailbox_ != number_) return false;
  // Written from memory, the file must be the one memory was read from.
  const bool unchanged = loaded_ && StampOf(path_) == known_;
  if (!unchanged && (!Read() || message->mailbox_ != number_)) return false;
  const std::string_view raw = message->raw_;
  const std::string separator_line(raw.substr(0, raw.find("\r\n")));
  std::string old_raw = std::exchange(message->raw_, MakeRawMessage(separator_line, text));
  const std::uint32_t old_checksum =
      std::exchange(message->checksum_, MessageChecksum(message->raw_));
  if (!RewriteFromMemory()) {
    message->raw_ = std::move(old_raw);
    message->checksum_ = old_checksum;
    return false;
  }
  WriteToc();
  TellChanged();
  return true;
}

bool Mailbox::SetState(const MessagePtr& message, std::int16_t state) {
  if (access_ == StoreAccess::kReadOnly || message->mailbox_ != number_) return false;
  message->state_ = state;
  toc_stale_ = true;
  TellChanged();
  return true;
}

bool Mailbox::Flush() {
  if (!removed_.empty() || toc_stale_) {
    // Changed by someone else, the file is read back (and cleaned of the
    // messages taken out) before anything is written from memory: a table of
    // contents written from memory would commit a length the file no longer
    // has, and a later reader would cut what the other writer added.
    const bool unchanged = loaded_ && StampOf(path_) == known_;
    if (!unchanged && !Read()) return false;
    if (!removed_.empty() && !RewriteFromMemory()) return false;
  }
  if (toc_stale_) return WriteToc();
  return true;
}

bool Mailbox::RewriteFromMemory() {
  std::string bytes = preamble_;
  std::vector<std::uint64_t> offsets;
  offsets.reserve(messages_.size());
  for (const MessagePtr& message : messages_) {
    offsets.push_back(bytes.size());
    bytes += message->raw_;
  }
  if (!platform::ReplaceFile(path_, bytes)) return false;
  for (std::size_t i = 0; i < messages_.size(); ++i) messages_[i]->offset_ = offsets[i];
  removed_.clear();
  known_ = StampOf(path_);
  file_length_ = bytes.size();
  toc_stale_ = true;
  return true;
}

std::vector<TocEntry> Mailbox::TocEntries() const {
  std::vector<TocEntry> entries;
  entries.reserve(messages_.size());
  for (const MessagePtr& message : messages_)
    entries.push_back(EntryOf(*message, message->offset_));
  return entries;
}

bool Mailbox::WriteToc() {
  // A read-only store leaves every table of contents as it found it.
  if (access_ == StoreAccess::kReadOnly) {
    toc_stale_ = false;
    return true;
  }
  toc_stale_ = !platform::ReplaceFile(TocPath(), FormatToc(TocEntries(), file_length_));
  return !toc_stale_;
}

}  // namespace tavi::host
