#pragma once

// Character classes and letter case as the system sees them: ASCII only,
// every other byte (UTF-8 included) is neither white space nor a letter that
// has a case, and compares as it is.

#include <string>
#include <string_view>

namespace tavi::platform {

// Blank, tab, CR, LF, vertical tab and form feed.
inline bool IsAsciiWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

inline char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// The text with its ASCII letters lower-cased.
std::string ToLowerAscii(std::string_view text);

// True when the texts are equal apart from the case of ASCII letters.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// Orders two texts as their ASCII-lower-cased bytes (unsigned) order:
// negative when `a` comes first, 0 when they are equal apart from case.
int CompareIgnoringCase(std::string_view a, std::string_view b);

// True when `text` ends with `suffix`, apart from the case of ASCII letters.
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix);

}  // namespace tavi::platform
