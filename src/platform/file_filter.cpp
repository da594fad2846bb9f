#include "platform/file_filter.h"

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

constexpr std::string_view kEveryName = "*";

// The next field of `text` up to `separator` (or the end), taken off it.
std::string_view TakeField(std::string_view& text, char separator) {
  const std::size_t end = text.find(separator);
  const std::string_view field = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return field;
}

std::vector<std::string> SplitPatterns(std::string_view patterns) {
  std::vector<std::string> split;
  while (!patterns.empty()) {
    const std::string_view pattern = TakeField(patterns, ';');
    if (pattern.empty()) continue;
    split.emplace_back(pattern == "*.*" ? kEveryName : pattern);
  }
  if (split.empty()) split.emplace_back(kEveryName);
  return split;
}

// Wild-card matching by backtracking to the last "*": linear for the
// patterns of a filter, whatever the name.
bool MatchesPattern(std::string_view pattern, std::string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string_view::npos;
  std::size_t star_name = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_name = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || ToLowerAscii(pattern[p]) == ToLowerAscii(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_name;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

std::vector<FileType> ParseFileFilter(std::string_view filter) {
  std::vector<FileType> types;
  while (!filter.empty()) {
    const std::string_view description = TakeField(filter, '|');
    const std::string_view patterns = TakeField(filter, '|');
    types.push_back({std::string(description), SplitPatterns(patterns)});
  }
  return types;
}

bool MatchesFileType(const FileType& type, std::string_view name) {
  for (const std::string& pattern : type.patterns)
    if (MatchesPattern(pattern, name)) return true;
  return false;
}

}  // namespace tavi::platform
