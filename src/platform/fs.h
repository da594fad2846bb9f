#pragma once

// Files and folders as the plug-in uses them, over POSIX. Paths are native:
// the separator is '/', and nothing here changes the letter case of a path.

#include <cstdint>
#include <functional>
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

// What tells one version of a file from another without reading it: the
// file it is (device and inode), its size and its modification time. A file
// replaced by a rename is another file; one rewritten in place within the
// clock's resolution and to the same size is not told apart.
struct FileVersion {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modified_ns = 0;

  friend bool operator==(const FileVersion&, const FileVersion&) = default;
};

// The version of the file that `path` finally names; nullopt when it cannot
// be examined.
std::optional<FileVersion> GetFileVersion(const std::string& path);

// The names (not paths) of the entries of one folder that match the pattern's
// last component, which may hold the wild cards '*' and '?'; the folder part
// is taken literally. "." and ".." are never listed. An unreadable folder
// gives an empty list. A pattern without wild cards lists the entry itself
// when it exists.
std::vector<std::string> FindFiles(const std::string& pattern);

// The whole file, or nullopt when it cannot be opened or read; errno then
// tells why (ENOENT: there is no such file).
std::optional<std::string> ReadFileBytes(const std::string& path);

// The errno value with which a read of `path` is to fail, or 0 to read it.
using ReadFault = std::function<int(const std::string& path)>;

// Installs `fault` for every thread: ReadFileBytes asks it before opening a
// file. An empty function removes it. Tests use it for the read failures
// that nothing else provokes for a process that may read every file.
void SetReadFault(ReadFault fault);

// The path that `path` finally names: a symbolic link, or a chain of them,
// followed to its end, whether that end exists or not (a dangling link names
// the file it would create); any other path is returned as it is. A relative
// link counts from the link's own folder. nullopt, with errno set, when a
// link cannot be read or the chain is longer than the system follows (a loop
// gives ELOOP).
std::optional<std::string> ResolveLinks(const std::string& path);

// Replaces the file's content with `bytes` so that no reader ever sees a
// partial file and a crash leaves the old or the new content: the bytes go to
// "<target>.tavi-tmp-XXXXXX" in the target's folder, reach the disk, and then
// that file takes the target's place, after which the folder is synced too.
// The target is the file that a link (or chain of links) at `path` finally
// names: the links stay links. A new file gets mode 0644 less the umask; an
// existing one keeps its mode. False, with the old content unchanged and no
// temporary file left, when the links cannot be followed or any step before
// the rename fails.
bool ReplaceFile(const std::string& path, const std::string& bytes);

// Deletes every regular file of `folder` (not of its subfolders) whose name
// ends in ".tavi-tmp-" and six characters: what a replacement that was killed
// before its rename leaves behind. The caller guarantees that no replacement
// in the folder is under way; anything that cannot be listed or deleted is
// left.
void RemoveReplacementLeftovers(const std::string& folder);

// Deletes only the leftovers of replacing the file that `path` finally names
// ("<target>.tavi-tmp-" and six characters, beside the target). The caller
// guarantees that no replacement of that file is under way.
void RemoveReplacementLeftoversOf(const std::string& path);

// Creates the file empty, or empties an existing one. False when it cannot be
// opened for writing.
bool CreateEmptyFile(const std::string& path);

// Creates the file empty when absent; an existing file keeps its content.
// False when it is absent and cannot be created.
bool EnsureFile(const std::string& path);

// Deletes a file; false when it could not be deleted (or was absent).
bool DeleteFile(const std::string& path);

// Gives the file at `from` the name `to` in one step, replacing a file
// there; false when it could not (absent, another file system).
bool RenameFile(const std::string& from, const std::string& to);

// Creates one folder level; false when it exists already or cannot be made.
bool CreateFolder(const std::string& path);

// The full path of the running program, or "" when it cannot be read.
std::string ExecutablePath();

// Joins a folder and a name with one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace tavi::platform
