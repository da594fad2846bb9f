#include "platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace tavi::platform {
namespace {

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

}  // namespace

std::optional<FileAttributes> GetFileAttributes(const std::string& path) {
  struct stat info {};
  if (path.empty() || stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileAttributes{S_ISDIR(info.st_mode), static_cast<std::uint64_t>(info.st_size)};
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

bool ReplaceFile(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  const bool written = WriteAll(fd, bytes) && fchmod(fd, ModeForReplacement(path)) == 0;
  // Don't retry close on EINTR: the descriptor is gone either way.
  const bool closed = close(fd) == 0;
  if (!written || !closed || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool DeleteFile(const std::string& path) { return unlink(path.c_str()) == 0; }

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
