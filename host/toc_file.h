#pragma once

// The table of contents the host keeps beside every mailbox file ("Name.toc"
// beside "Name.mbx"), little-endian throughout:
//   offset 0, 102 bytes: header, zero but for the signature at offset 0
//   offset 102, 2 bytes: number of messages, unsigned (65535 at most)
//   offset 104: one 218-byte entry per message, in mailbox order
// An entry holds the message's file offset (4 bytes at 0), its length (4 bytes
// at 4), a checksum of its bytes (4 bytes at 8) and its state (signed 16 bits
// at 12; 0 is unread). The rest is zero. A mailbox of more than 65535
// messages still gets every entry; only the count is capped.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::host {

inline constexpr std::size_t kTocHeaderSize = 104;
inline constexpr std::size_t kTocCountOffset = 102;
inline constexpr std::size_t kTocEntrySize = 218;
inline constexpr std::size_t kTocStateOffset = 12;
inline constexpr std::int16_t kUnreadState = 0;

struct TocEntry {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  std::uint32_t checksum = 0;
  std::int16_t state = kUnreadState;
};

// The bytes of a table of contents listing `entries`.
std::string FormatToc(const std::vector<TocEntry>& entries);

// The entries of a table of contents this host wrote; nullopt for anything
// else (wrong signature, a size that is not a whole number of entries).
std::optional<std::vector<TocEntry>> ParseToc(std::string_view bytes);

// The checksum stored with each entry (32-bit FNV-1a of the message bytes),
// which lets a message keep its state when the mailbox is indexed again.
std::uint32_t MessageChecksum(std::string_view raw);

}  // namespace tavi::host
