#pragma once

// The profile-file service: an INI file of "[section]" lines, each followed by
// "key=value" lines, read and edited as a ProfileDocument (profile_text.h,
// which says how names compare and which names and values can be stored).
// Lines that a call does not change keep their text and order.
//
// There is no cache: every call reads the file. Reads take no lock: each
// write replaces the whole file at once, so a reader sees the old file or the
// new one, never half of one. Writes are atomic across threads and processes:
// a writer holds this process's lock and an advisory lock on "<file>.lock"
// while it reads, edits and replaces the file, so two writers never lose each
// other's keys. The lock file and the replacement's temporary file live
// beside the file that a link at `file` finally names, so every path to one
// file shares one lock; the lock file is created on demand and never deleted.
//
// A settings file that does not exist reads as empty and is created by the
// first write. One that exists but cannot be read (an I/O error, a folder in
// its place, a loop of links) reads as empty too, but every write to it fails
// and leaves it as it was: nothing replaces what could not be read.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile_text.h"

namespace tavi::platform {

// The value of `key` in `section`, or nullopt when the file, the section or
// the key is absent, or the file cannot be read.
std::optional<std::string> GetProfileValue(const std::string& file, const std::string& section,
                                           const std::string& key);

// Every non-blank, non-comment line of the section as stored (trimmed), in
// file order; lines without '=' included. Empty for a missing section or a
// file that cannot be read.
std::vector<std::string> GetProfileSection(const std::string& file, const std::string& section);

// Edits the file as one batch: under both locks, reads the file, runs
// `change` on its document and, when `change` returns true and the document
// changed, replaces the file with the edited text in one rewrite. True when
// the edit is stored, also when there was nothing to store. False, with the
// file untouched, when the file exists but cannot be read, the lock file
// cannot be opened (no such folder, or it cannot be written), `change`
// returns false, an edit inside `change` was refused (even if `change` went
// on), or the file cannot be written. `change` may read any settings file but
// must not write one: the locks are held while it runs.
bool EditProfile(const std::string& file, const std::function<bool(ProfileDocument&)>& change);

// Sets the key's value, adding the key after the last non-blank line of its
// section and the section at the end of the file when absent, and creating
// the file on the first write. One EditProfile: false, with the file
// unchanged, when a name or the value cannot be stored (a line break would
// end the line and corrupt the file) or the edit cannot be stored.
bool SetProfileValue(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value);

// Removes the key's line. One EditProfile: true also when there was nothing
// to remove; false when a name cannot be stored or the edit cannot be stored.
bool DeleteProfileKey(const std::string& file, const std::string& section, const std::string& key);

// Removes the section's header and all its lines. One EditProfile: true also
// when absent; false when the name cannot be stored or the edit cannot be
// stored.
bool DeleteProfileSection(const std::string& file, const std::string& section);

// Under both locks, deletes the temporary files that writers of this settings
// file left when they were killed before their rename ("<file>.tavi-tmp-" and
// six characters beside the file that `file` finally names), and nothing
// else. Does nothing when the locks cannot be had.
void RemoveStaleProfileTemporaries(const std::string& file);

}  // namespace tavi::platform
