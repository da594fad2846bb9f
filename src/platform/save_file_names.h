#pragma once

// What the save-file dialog does with folders and typed names, apart from
// its window: the folder's listing, and what a typed name asks for.

#include <string>
#include <vector>

#include "platform/file_filter.h"

namespace tavi::platform {

// `path` made absolute (from the current folder) with "." and ".." taken
// away and without a trailing separator; "/" stays "/".
std::string AbsoluteFolderPath(const std::string& path);

// The folder that holds `path` ("/" for "/" itself).
std::string ParentFolderPath(const std::string& path);

struct FolderListing {
  std::vector<std::string> folders;  // subfolder names
  std::vector<std::string> files;    // names of the files of the type
};

// The subfolders of `folder` and its files that match `type` (every file
// without a type), each list ordered by name without regard to case. Names
// that start with "." are hidden, as the file manager hides them. An
// unreadable folder lists nothing.
FolderListing ListFolder(const std::string& folder, const FileType* type);

enum class SaveNameAction {
  kNothing,        // an empty name
  kEnterFolder,    // the name is a folder (or ".."): show it
  kSave,           // save to `path`
  kMissingFolder,  // the name's folder does not exist
};

struct SaveNameResolution {
  SaveNameAction action = SaveNameAction::kNothing;
  std::string path;  // the folder to enter, the file to save, or the folder missing
};

// What the name typed in `folder` asks for. The name may be absolute or hold
// folders; one that names a folder enters it; any other is a file whose
// folder must exist, and gets `default_extension` (with or without its
// leading ".") when its last part has no extension.
SaveNameResolution ResolveSaveName(const std::string& folder, const std::string& typed,
                                   const std::string& default_extension);

}  // namespace tavi::platform
