#pragma once

// The file types of a save-file dialog's filter: pairs of a description and
// patterns, each followed by "|", as in
// "News File (*.nws)|*.nws|Any File Type (*.*)|*.*|". Patterns are separated
// by ";" and hold the wild cards "*" (any run of characters) and "?" (any
// one character); they match a whole file name without regard to ASCII case.
// "*.*" matches every name, also one without a dot, as people expect of it.

#include <string>
#include <string_view>
#include <vector>

namespace tavi::platform {

struct FileType {
  std::string description;
  std::vector<std::string> patterns;  // never empty
};

// The types of `filter`, in order. A description without its patterns (the
// last "|" missing) gives a type that matches every name, as does an empty
// pattern list. An empty filter gives no types.
std::vector<FileType> ParseFileFilter(std::string_view filter);

// True when `name` matches one of the type's patterns.
bool MatchesFileType(const FileType& type, std::string_view name);

}  // namespace tavi::platform
