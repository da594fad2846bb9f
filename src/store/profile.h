#pragma once

// The five profile operations through which every settings access goes. Each
// takes the profile file's path last; none reports an error: a missing file,
// section or key reads as the default, and a failed write leaves the file as
// it was.

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/profile_text.h"

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

// The settings file inside one batch of changes (EditProfileBatch): reads see
// the file as the batch found it with the batch's own changes, and reads and
// writes follow the rules of the operations above.
class ProfileBatch {
 public:
  explicit ProfileBatch(platform::ProfileDocument& document) : document_(document) {}

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  int ReadInt(const std::string& section, const std::string& key, int default_value) const;
  // The section's lines that hold "=", whole ("key=value").
  std::vector<std::string> ReadSection(const std::string& section) const;
  // False when a name cannot be stored; the batch then stores nothing.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInt(const std::string& section, const std::string& key, int value);
  bool DeleteKey(const std::string& section, const std::string& key);
  bool DeleteSection(const std::string& section);

 private:
  platform::ProfileDocument& document_;
};

// The settings file as one read found it, for a reader of many keys (the
// feed list): each read follows the rules of ReadProfileString,
// ReadProfileInt and ReadProfileSection, without reading the file again.
class ProfileSnapshot {
 public:
  // Reads `file` now; a file that cannot be read reads as empty.
  explicit ProfileSnapshot(const std::string& file);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  int ReadInt(const std::string& section, const std::string& key, int default_value) const;
  // The section's lines that hold "=", whole ("key=value").
  std::vector<std::string> ReadSection(const std::string& section) const;

 private:
  // A section's own document, found by its name in lower case; null when
  // absent.
  const platform::ProfileDocument* Find(const std::string& section) const;

  // Each section as a document of its own (the first of a repeated name).
  std::unordered_map<std::string, platform::ProfileDocument> sections_;
};

// Runs `change` over the settings file and stores everything it changed in
// one atomic rewrite, holding the file's lock (across threads and processes)
// from the read to the rewrite, so that a check made in `change` still holds
// when the changes land and a kill leaves the old file or the new one whole.
// True when the changes are stored (or there were none); false, with the file
// as it was, when `change` returns false, a write inside it was refused, or
// the file cannot be read or written.
bool EditProfileBatch(const std::string& file, const std::function<bool(ProfileBatch&)>& change);

}  // namespace tavi
