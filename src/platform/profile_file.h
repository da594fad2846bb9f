#pragma once

// The profile-file service: an INI file of "[section]" lines, each followed by
// "key=value" lines, read and edited as a ProfileDocument (profile_text.h,
// which says how names compare and which names and values can be stored).
// Lines that a call does not change keep their text and order.
//
// There is no cache: every call reads the file. Every call is atomic: writers
// in this process take one lock, and each write replaces the whole file at
// once, so a reader never sees half a file and two writers never lose each
// other's keys.

#include <optional>
#include <string>
#include <vector>

#include "platform/profile_text.h"

namespace tavi::platform {

// The value of `key` in `section`, or nullopt when the file, the section or
// the key is absent.
std::optional<std::string> GetProfileValue(const std::string& file, const std::string& section,
                                           const std::string& key);

// Every non-blank, non-comment line of the section as stored (trimmed), in
// file order; lines without '=' included. Empty for a missing section.
std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section);

// Sets the key's value, adding the key at the end of its section and the
// section at the end of the file when absent, and creating the file on the
// first write. False, with the file unchanged, when a name or the value
// cannot be stored (a line break would end the line and corrupt the file) or
// the file cannot be written.
bool SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value);

// Removes the key's line. True also when there was nothing to remove; false
// when a name cannot be stored or the file cannot be written.
bool DeleteProfileKey(const std::string& file, const std::string& section, const std::string& key);

// Removes the section's header and all its lines. True also when absent;
// false when the name cannot be stored or the file cannot be written.
bool DeleteProfileSection(const std::string& file, const std::string& section);

}  // namespace tavi::platform
