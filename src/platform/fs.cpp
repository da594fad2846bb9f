#include "platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <mutex>
#include <string_view>

namespace tavi::platform {
namespace {

// Marks a replacement's temporary file; mkstemp fills in the six characters
// after it.
constexpr std::string_view kReplacementMarker = ".tavi-tmp-";
constexpr std::size_t kReplacementRandomLength = 6;
// The longest chain of links the system itself follows before ELOOP.
constexpr int kMaxLinkHops = 40;

std::mutex read_fault_lock;
ReadFault installed_read_fault;

int InjectedReadError(const std::string& path) {
  ReadFault fault;
  {
    std::lock_guard<std::mutex> guard(read_fault_lock);
    fault = installed_read_fault;
  }
  return fault ? fault(path) : 0;
}

bool HasWildCards(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind(kPathSeparator);
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind(kPathSeparator);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

mode_t ModeForReplacement(const std::string& path) {
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0644 & ~mask;
}

std::optional<std::string> ReadLinkText(const std::string& path) {
  std::string text(PATH_MAX, '\0');
  const ssize_t n = readlink(path.c_str(), text.data(), text.size());
  if (n < 0) return std::nullopt;
  if (static_cast<std::size_t>(n) >= text.size()) {
    errno = ENAMETOOLONG;
    return std::nullopt;
  }
  text.resize(static_cast<std::size_t>(n));
  return text;
}

// Where a link with this text points: relative text counts from the link's
// folder, not from the working folder.
std::string LinkDestination(const std::string& link, const std::string& text) {
  if (!text.empty() && text.front() == kPathSeparator) return text;
  return JoinPath(FolderOf(link), text);
}

// Failures are not reported: the rename has already put the new content in
// place, and callers take false to mean the old content is still there.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool IsReplacementLeftover(std::string_view name) {
  const std::size_t tail = kReplacementMarker.size() + kReplacementRandomLength;
  return name.size() >= tail &&
         name.substr(name.size() - tail, kReplacementMarker.size()) == kReplacementMarker;
}

bool IsRegularFileIn(int folder_fd, const char* name) {
  struct stat info {};
  return fstatat(folder_fd, name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

// Deletes the regular files of `folder` that are leftovers and that `wanted`
// accepts by name.
template <typename Wanted>
void RemoveLeftovers(const std::string& folder, Wanted wanted) {
  DIR* listing = opendir(folder.c_str());
  if (listing == nullptr) return;
  const int folder_fd = dirfd(listing);
  while (const dirent* entry = readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (!IsReplacementLeftover(name) || !wanted(name)) continue;
    if (IsRegularFileIn(folder_fd, entry->d_name)) unlinkat(folder_fd, entry->d_name, 0);
  }
  closedir(listing);
}

// Opens the file for writing with `flags` and closes it at once.
bool TouchFile(const std::string& path, int flags) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0644);
  if (fd < 0) return false;
  // Don't retry close on EINTR: the descriptor is gone either way.
  return close(fd) == 0;
}

}  // namespace

std::optional<FileAttributes> GetFileAttributes(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileAttributes{S_ISDIR(info.st_mode), static_cast<std::uint64_t>(info.st_size)};
}

std::optional<FileVersion> GetFileVersion(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return std::nullopt;
  constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
  return FileVersion{static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino),
                     static_cast<std::uint64_t>(info.st_size),
                     static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNanosecondsPerSecond +
                         info.st_mtim.tv_nsec};
}

std::vector<std::string> FindFiles(const std::string& pattern) {
  const std::string name = NameOf(pattern);
  if (name.empty() || name == "." || name == "..") return {};
  if (!HasWildCards(name)) {
    if (!GetFileAttributes(pattern)) return {};
    return {name};
  }
  std::vector<std::string> found;
  DIR* folder = opendir(FolderOf(pattern).c_str());
  if (folder == nullptr) return found;
  while (const dirent* entry = readdir(folder)) {
    const std::string entry_name = entry->d_name;
    if (entry_name == "." || entry_name == "..") continue;
    if (fnmatch(name.c_str(), entry_name.c_str(), FNM_PERIOD) == 0) found.push_back(entry_name);
  }
  closedir(folder);
  return found;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  if (const int error = InjectedReadError(path)) {
    errno = error;
    return std::nullopt;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  // Sized once from the file's length: growing by doubling would briefly
  // hold twice a large document.
  struct stat info {};
  if (fstat(fd, &info) == 0 && info.st_size > 0)
    bytes.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      close(fd);
      errno = error;
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return bytes;
}

void SetReadFault(ReadFault fault) {
  std::lock_guard<std::mutex> guard(read_fault_lock);
  installed_read_fault = std::move(fault);
}

std::optional<std::string> ResolveLinks(const std::string& path) {
  if (path.empty()) {
    errno = ENOENT;
    return std::nullopt;
  }
  std::string current = path;
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0) {
      if (errno == ENOENT) return current;
      return std::nullopt;
    }
    if (!S_ISLNK(info.st_mode)) return current;
    const auto text = ReadLinkText(current);
    if (!text) return std::nullopt;
    current = LinkDestination(current, *text);
  }
  errno = ELOOP;
  return std::nullopt;
}

bool ReplaceFile(const std::string& path, const std::string& bytes) {
  const auto target = ResolveLinks(path);
  if (!target) return false;
  std::string temporary = *target + std::string(kReplacementMarker) + "XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // The bytes reach the disk before the rename publishes them: otherwise a
  // crash soon after could leave the name on an empty file.
  const bool written =
      WriteAll(fd, bytes) && fchmod(fd, ModeForReplacement(*target)) == 0 && fsync(fd) == 0;
  // Don't retry close on EINTR: the descriptor is gone either way.
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temporary.c_str(), target->c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  // The rename itself lives in the folder, which must reach the disk too.
  SyncFolder(FolderOf(*target));
  return true;
}

void RemoveReplacementLeftovers(const std::string& folder) {
  RemoveLeftovers(folder, [](std::string_view) { return true; });
}

void RemoveReplacementLeftoversOf(const std::string& path) {
  const auto target = ResolveLinks(path);
  if (!target) return;
  const std::string name = NameOf(*target);
  RemoveLeftovers(FolderOf(*target), [&](std::string_view leftover) {
    return leftover.size() == name.size() + kReplacementMarker.size() + kReplacementRandomLength &&
           leftover.substr(0, name.size()) == name;
  });
}

bool CreateEmptyFile(const std::string& path) { return TouchFile(path, O_TRUNC); }

bool EnsureFile(const std::string& path) { return TouchFile(path, 0); }

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool RenameFile(const std::string& from, const std::string& to) {
  return rename(from.c_str(), to.c_str()) == 0;
}

bool CreateFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buffer) return "";
  return std::string(buffer, static_cast<std::size_t>(n));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == kPathSeparator) return folder + name;
  return folder + kPathSeparator + name;
}

}  // namespace tavi::platform
