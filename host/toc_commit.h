#pragma once

// Committing appends through the table of contents. The host appends a
// message to a mailbox file and only then records it in the table beside it,
// in constant time: one entry written after the last and then the header,
// whose committed length moves on to the file's new length. A process killed
// in the middle leaves bytes beyond the committed length; whoever reads the
// file afresh takes them for what they are, an append that never happened.

#include <cstdint>
#include <optional>
#include <string>

#include "host/toc_file.h"

namespace tavi::host {

// The committed length that the table of contents at `toc_path` records,
// reading its header only. nullopt when it records none: the table is
// missing, unreadable, shorter than its header, someone else's, or of the
// first version.
std::optional<std::uint64_t> ReadCommittedLength(const std::string& toc_path);

// Records one message appended to a mailbox file whose length went from
// `length_before` to `length_after`: `entry` goes after the table's last
// whole entry, then the header counts it and commits `length_after`. Only a
// table of the current version that commits exactly `length_before` is
// written to, so an entry never lands in a table that does not describe the
// file. False when the table is not such a one or a write fails; a partly
// written entry is then cut off again where possible.
bool CommitAppendedEntry(const std::string& toc_path, const TocEntry& entry,
                         std::uint64_t length_before, std::uint64_t length_after);

}  // namespace tavi::host
