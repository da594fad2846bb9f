#include "platform/save_file_names.h"

#include <unistd.h>

#include <algorithm>
#include <memory>

#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi::platform {
namespace {

std::string CurrentFolder() {
  const std::unique_ptr<char, decltype(&free)> folder(getcwd(nullptr, 0), &free);
  return folder ? std::string(folder.get()) : std::string(1, kPathSeparator);
}

bool IsFolder(const std::string& path) {
  const std::optional<FileAttributes> attributes = GetFileAttributes(path);
  return attributes && attributes->directory;
}

// The parts of an absolute path, with "." and ".." resolved as written:
// ".." of the root stays at the root.
std::vector<std::string> PathParts(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find(kPathSeparator, start), path.size());
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      parts.push_back(part);
    } else if (!parts.empty()) {
      parts.pop_back();
    }
  }
  return parts;
}

void SortByName(std::vector<std::string>& names) {
  std::ranges::stable_sort(names, [](const std::string& a, const std::string& b) {
    return CompareIgnoringCase(a, b) < 0;
  });
}

std::string LastPart(const std::string& path) {
  return path.substr(path.rfind(kPathSeparator) + 1);
}

std::string WithDefaultExtension(const std::string& path, std::string extension) {
  if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
  if (extension.empty() || LastPart(path).find('.') != std::string::npos) return path;
  return path + "." + extension;
}

}  // namespace

std::string AbsoluteFolderPath(const std::string& path) {
  const std::string absolute =
      !path.empty() && path.front() == kPathSeparator ? path : JoinPath(CurrentFolder(), path);
  std::string joined;
  for (const std::string& part : PathParts(absolute)) joined += kPathSeparator + part;
  return joined.empty() ? std::string(1, kPathSeparator) : joined;
}

std::string ParentFolderPath(const std::string& path) {
  return AbsoluteFolderPath(JoinPath(path, ".."));
}

FolderListing ListFolder(const std::string& folder, const FileType* type) {
  FolderListing listing;
  for (const std::string& name : FindFiles(JoinPath(folder, "*"))) {
    if (IsFolder(JoinPath(folder, name))) {
      listing.folders.push_back(name);
    } else if (type == nullptr || MatchesFileType(*type, name)) {
      listing.files.push_back(name);
    }
  }
  SortByName(listing.folders);
  SortByName(listing.files);
  return listing;
}

SaveNameResolution ResolveSaveName(const std::string& folder, const std::string& typed,
                                   const std::string& default_extension) {
  if (std::ranges::all_of(typed, IsAsciiWhiteSpace)) return {};
  const std::string named =
      AbsoluteFolderPath(typed.front() == kPathSeparator ? typed : JoinPath(folder, typed));
  if (IsFolder(named)) return {SaveNameAction::kEnterFolder, named};
  // A name that ends in a separator can only mean a folder.
  if (typed.back() == kPathSeparator) return {SaveNameAction::kMissingFolder, named};
  const std::string parent = ParentFolderPath(named);
  if (!IsFolder(parent)) return {SaveNameAction::kMissingFolder, parent};
  return {SaveNameAction::kSave, WithDefaultExtension(named, default_extension)};
}

}  // namespace tavi::platform
