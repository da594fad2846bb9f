#pragma once

// The table of contents the host keeps beside every mailbox file ("Name.toc"
// beside "Name.mbx"), little-endian throughout:
//   offset 0, 102 bytes: header, zero but for
//     offset 0: the signature, which also tells the version
//     offset 8, 8 bytes: the committed length of the mailbox file (from the
//       second version on): every byte up to it belongs to a whole message
//       the host wrote or read; bytes beyond it were never committed
//   offset 102, 2 bytes: number of messages, unsigned (65535 at most)
//   offset 104: one 218-byte entry per message, in mailbox order
// An entry holds the message's file offset (4 bytes at 0), its length (4 bytes
// at 4), a checksum of its bytes (4 bytes at 8) and its state (signed 16 bits
// at 12; 0 is unread). The rest is zero. A mailbox of more than 65535
// messages still gets every entry; only the count is capped, so the number of
// entries is told by the size of the file.
//
// The host commits an append by writing one entry at the end and then the
// header, so a process killed in between leaves at most a trailing partial
// entry, which readers ignore.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::host {

inline constexpr std::size_t kTocHeaderSize = 104;
inline constexpr std::size_t kTocCommittedLengthOffset = 8;
inline constexpr std::size_t kTocCountOffset = 102;
inline constexpr std::size_t kTocEntrySize = 218;
inline constexpr std::size_t kTocStateOffset = 12;
// Message states: unread until the reader opens the message.
inline constexpr std::int16_t kUnreadState = 0;
inline constexpr std::int16_t kReadState = 1;

struct TocEntry {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::uint32_t checksum = 0;
  std::int16_t state = kUnreadState;
  bool operator==(const TocEntry&) const = default;
};

// A table of contents as read.
struct Toc {
  std::vector<TocEntry> entries;
  // nullopt for a table of the first version, which did not record it.
  std::optional<std::uint64_t> committed_length;
};

// The bytes of a table of contents (the current version) listing `entries`
// of a mailbox file committed up to `committed_length`.
std::string FormatToc(const std::vector<TocEntry>& entries, std::uint64_t committed_length);
// The header alone, for a table of `count` entries.
std::string FormatTocHeader(std::size_t count, std::uint64_t committed_length);
// One entry's bytes.
std::string FormatTocEntry(const TocEntry& entry);

// The table of contents this host wrote, of either version: every whole
// entry, a trailing partial one ignored. nullopt for anything else (a wrong
// signature, shorter than the header). A header alone reads as a table
// without entries.
std::optional<Toc> ParseToc(std::string_view bytes);

// The checksum stored with each entry (32-bit FNV-1a of the message bytes),
// which lets a message keep its state when the mailbox is indexed again.
std::uint32_t MessageChecksum(std::string_view raw);

}  // namespace tavi::host
