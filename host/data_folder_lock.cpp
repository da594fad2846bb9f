#include "host/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/fs.h"

namespace tavi::host {
namespace {

// The holder's line is read no further than this: the file is anyone's to
// write, and a description longer than kLongestDescription is cut anyway.
constexpr std::size_t kLongestLine = 256;
constexpr std::size_t kLongestDescription = 200;

enum class TryResult { kLocked, kBusy, kFailed };

TryResult TryLock(int fd) {
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return TryResult::kLocked;
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? TryResult::kBusy : TryResult::kFailed;
  }
}

bool WaitForLock(int fd) {
  for (;;) {
    if (flock(fd, LOCK_EX) == 0) return true;
    if (errno != EINTR) return false;
  }
}

std::string HolderLine(std::string_view description) {
  std::string line = std::to_string(getpid()) + " ";
  for (char c : description.substr(0, kLongestDescription)) {
    line += c == '\n' || c == '\r' ? ' ' : c;
  }
  return line + "\n";
}

// Written over the old line and then cut to its length, so a reader sees the
// old line, the new one, or the new one followed by the old one's tail, and
// reads only up to the first line end: never an empty file in between.
bool WriteHolderLine(int fd, std::string_view description) {
  const std::string line = HolderLine(description);
  if (pwrite(fd, line.data(), line.size(), 0) != static_cast<ssize_t>(line.size())) return false;
  return ftruncate(fd, static_cast<off_t>(line.size())) == 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The holder as its line says; the process id 0 when there is no whole line
// (the holder had only just locked) or it does not begin with one.
DataFolderLockHolder ReadHolder(int fd) {
  std::string bytes(kLongestLine, '\0');
  const ssize_t n = pread(fd, bytes.data(), bytes.size(), 0);
  bytes.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  const std::size_t line_end = bytes.find('\n');
  if (line_end == std::string::npos) return {};
  const std::string_view line(bytes.data(), line_end);
  const std::size_t blank = line.find(' ');
  const std::string_view digits = line.substr(0, blank);
  // Nine digits at most: any process id fits, and no number overflows.
  if (digits.empty() || digits.size() > 9) return {};
  pid_t process_id = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return {};
    process_id = process_id * 10 + (c - '0');
  }
  const std::string_view description =
      blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
  return {process_id, std::string(description)};
}

DataFolderLockResult Unusable() {
  DataFolderLockResult result;
  result.status = DataFolderLockStatus::kUnusable;
  result.error = errno;
  return result;
}

}  // namespace

std::string DescribeHolder(const DataFolderLockHolder& holder) {
  if (holder.process_id == 0) return "another process";
  return "process " + std::to_string(holder.process_id) +
         (holder.description.empty() ? "" : " (" + holder.description + ")");
}

DataFolderLockResult DataFolderLock::Acquire(const std::string& data_folder,
                                             std::string_view description, LockWaiting waiting,
                                             const HolderNotice& notice) {
  const std::string path = platform::JoinPath(data_folder, std::string(kDataFolderLockFileName));
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return Unusable();
  // Closing the descriptor lets the lock go on every way out.
  DataFolderLock lock(fd);
  const TryResult tried = TryLock(fd);
  if (tried == TryResult::kFailed) return Unusable();
  if (tried == TryResult::kBusy) {
    const DataFolderLockHolder holder = ReadHolder(fd);
    if (waiting == LockWaiting::kFailAtOnce) {
      DataFolderLockResult result;
      result.status = DataFolderLockStatus::kHeld;
      result.holder = holder;
      return result;
    }
    if (notice) notice(holder);
    if (!WaitForLock(fd)) return Unusable();
  }
  if (!WriteHolderLine(fd, description)) return Unusable();
  DataFolderLockResult result;
  result.status = DataFolderLockStatus::kAcquired;
  result.lock = std::move(lock);
  return result;
}

DataFolderLock::~DataFolderLock() {
  // Don't retry close on EINTR: the descriptor, and the lock, are gone
  // either way.
  if (fd_ >= 0) close(fd_);
}

DataFolderLock::DataFolderLock(DataFolderLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

DataFolderLock& DataFolderLock::operator=(DataFolderLock&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

}  // namespace tavi::host
