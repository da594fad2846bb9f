#pragma once

// Files and folders as the plug-in uses them, over POSIX. Paths are native:
// the separator is '/', and nothing here changes the letter case of a path.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavi::platform {

inline constexpr char kPathSeparator = '/';

struct FileAttributes {
  bool directory = false;
  std::uint64_t size = 0;
};

// The attributes of the file or folder at `path`, or nullopt when it cannot
// be examined (absent, or a folder on the way is unreadable).
std::optional<FileAttributes> GetFileAttributes(const std::string& path);

// The names (not paths) of the entries of one folder that match the pattern's
// last component, which may hold the wild cards '*' and '?'; the folder part
// is taken literally. "." and ".." are never listed. An unreadable folder
// gives an empty list. A pattern without wild cards lists the entry itself
// when it exists.
std::vector<std::string> FindFiles(const std::string& pattern);

// The whole file, or nullopt when it cannot be opened or read; errno then
// tells why.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Replaces the file's content with `bytes` so that no reader ever sees a
// partial file: the bytes go to a temporary file in the same folder, which
// then takes the file's place. A new file gets mode 0644 less the umask; an
// existing one keeps its mode. False (and the old content unchanged) on any
// failure.
bool ReplaceFile(const std::string& path, const std::string& bytes);

// Deletes a file; false when it could not be deleted (or was absent).
bool DeleteFile(const std::string& path);

// Creates one folder level; false when it exists already or cannot be made.
bool CreateFolder(const std::string& path);

// The full path of the running program, or "" when it cannot be read.
std::string ExecutablePath();

// Joins a folder and a name with one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace tavi::platform
