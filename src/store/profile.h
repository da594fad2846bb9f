#pragma once

// The five profile operations through which every settings access goes. Each
// takes the profile file's path last; none reports an error: a missing file,
// section or key reads as the default, and a failed write leaves the file as
// it was.

#include <string>
#include <vector>

namespace tavi {

// Values read back are cut to this many characters, as the settings have
// always been read.
inline constexpr std::size_t kProfileValueLimit = 254;

// The stored value of `key` in `section`, cut to kProfileValueLimit
// characters; `default_value` when the key is missing.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& default_value, const std::string& file);

// The key read as text with `default_value` formatted "%d" as its default,
// then converted as the usual decimal conversion does: leading blanks
// skipped, an optional sign, the digits up to the first non-digit. No digits
// read as 0; a number beyond the int range is clamped to it.
int ReadProfileInt(const std::string& section, const std::string& key, int default_value,
                   const std::string& file);

// Appends to `list` every line of the section that holds "=": the whole line
// ("key=value"), or with `values_only` only the text after the first "=".
// The whole section is read however long, and lines are kept whole. Returns
// true, also for a missing or empty section.
bool ReadProfileSection(std::vector<std::string>& list, const std::string& section,
                        bool values_only, const std::string& file);

// Writes the key, creating the section and the file when absent. Each CR or
// LF of the value is stored as a blank, since a value is one line. False when
// the file could not be written.
bool WriteProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file);

// Writes the integer formatted "%d".
bool WriteProfileInt(const std::string& section, const std::string& key, int value,
                     const std::string& file);

// Removes one key; true also when it was absent.
bool DeleteProfileKey(const std::string& section, const std::string& key, const std::string& file);

// Removes a whole section; true also when it was absent.
bool DeleteProfileSection(const std::string& section, const std::string& file);

}  // namespace tavi
