#include "platform/part_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/fs.h"

namespace tavi::platform {
namespace {

// A name taken by a part file of an earlier run with the same process id is
// passed over; this many attempts find a free one unless the folder is full
// of leftovers.
constexpr int kMaxNameAttempts = 100;

std::string PartFileName(const std::string& target) {
  // One counter for the whole process, so that two downloads to the same
  // target on two threads never pick the same name.
  static std::atomic<unsigned> counter{0};
  return target + ".part" + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

bool AllDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "<target>.part<digits>-<digits>", as PartFileName makes them.
bool IsPartFileName(std::string_view name) {
  const std::size_t marker = name.rfind(".part");
  if (marker == std::string_view::npos || marker == 0) return false;
  const std::string_view numbers = name.substr(marker + 5);
  const std::size_t dash = numbers.find('-');
  return dash != std::string_view::npos && AllDigits(numbers.substr(0, dash)) &&
         AllDigits(numbers.substr(dash + 1));
}

}  // namespace

void RemovePartFileLeftovers(const std::string& folder) {
  for (const std::string& name : FindFiles(JoinPath(folder, "*.part*"))) {
    const std::string path = JoinPath(folder, name);
    const auto attributes = GetFileAttributes(path);
    if (IsPartFileName(name) && attributes && !attributes->directory) DeleteFile(path);
  }
}

PartFile::PartFile(const std::string& target) : target_(target) {
  for (int attempt = 0; attempt < kMaxNameAttempts && fd_ < 0; ++attempt) {
    path_ = PartFileName(target);
    fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ >= 0) return;
  error_ = errno;
  path_.clear();
}

PartFile::~PartFile() {
  if (fd_ >= 0) close(fd_);
  if (!committed_ && !path_.empty()) unlink(path_.c_str());
}

bool PartFile::Write(std::string_view bytes) {
  if (fd_ < 0) return Fail(EBADF);
  while (!bytes.empty()) {
    const ssize_t n = write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail(n < 0 ? errno : ENOSPC);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool PartFile::Commit() {
  if (fd_ < 0) return Fail(EBADF);
  const int fd = fd_;
  fd_ = kNoFile;
  // Don't retry close on EINTR: the descriptor is gone either way.
  if (close(fd) != 0) return Fail(errno);
  if (std::rename(path_.c_str(), target_.c_str()) != 0) return Fail(errno);
  committed_ = true;
  return true;
}

bool PartFile::Fail(int error) {
  error_ = error;
  return false;
}

}  // namespace tavi::platform
