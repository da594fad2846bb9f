#include "host/toc_file.h"

#include <algorithm>

namespace tavi::host {
namespace {

// Mark a table of contents this host wrote, so that one written by anyone
// else is never mistaken for ours. The first version recorded no committed
// length: its states are still carried over, but nothing is cut by it.
constexpr std::string_view kFirstSignature = "HTOC\x01";
constexpr std::string_view kSignature = "HTOC\x02";
constexpr std::size_t kOffsetField = 0;
constexpr std::size_t kLengthField = 4;
constexpr std::size_t kChecksumField = 8;
constexpr std::uint32_t kLargestCount = 0xFFFF;

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

std::uint64_t GetLittleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

TocEntry EntryAt(std::string_view bytes, std::size_t at) {
  TocEntry entry;
  entry.offset = static_cast<std::uint32_t>(GetLittleEndian(bytes, at + kOffsetField, 4));
  entry.length = static_cast<std::uint32_t>(GetLittleEndian(bytes, at + kLengthField, 4));
  entry.checksum = static_cast<std::uint32_t>(GetLittleEndian(bytes, at + kChecksumField, 4));
  entry.state = static_cast<std::int16_t>(GetLittleEndian(bytes, at + kTocStateOffset, 2));
  return entry;
}

}  // namespace

std::string FormatTocHeader(std::size_t count, std::uint64_t committed_length) {
  std::string bytes(kTocHeaderSize, '\0');
  std::copy(kSignature.begin(), kSignature.end(), bytes.begin());
  PutLittleEndian(bytes, kTocCommittedLengthOffset, committed_length, 8);
  PutLittleEndian(bytes, kTocCountOffset, std::min<std::size_t>(count, kLargestCount), 2);
  return bytes;
}

std::string FormatTocEntry(const TocEntry& entry) {
  std::string bytes(kTocEntrySize, '\0');
  PutLittleEndian(bytes, kOffsetField, entry.offset, 4);
  PutLittleEndian(bytes, kLengthField, entry.length, 4);
  PutLittleEndian(bytes, kChecksumField, entry.checksum, 4);
  PutLittleEndian(bytes, kTocStateOffset, static_cast<std::uint16_t>(entry.state), 2);
  return bytes;
}

std::string FormatToc(const std::vector<TocEntry>& entries, std::uint64_t committed_length) {
  std::string bytes = FormatTocHeader(entries.size(), committed_length);
  bytes.reserve(kTocHeaderSize + entries.size() * kTocEntrySize);
  for (const TocEntry& entry : entries) bytes += FormatTocEntry(entry);
  return bytes;
}

std::optional<Toc> ParseToc(std::string_view bytes) {
  if (bytes.size() < kTocHeaderSize) return std::nullopt;
  const bool current = bytes.starts_with(kSignature);
  if (!current && !bytes.starts_with(kFirstSignature)) return std::nullopt;
  Toc toc;
  if (current) toc.committed_length = GetLittleEndian(bytes, kTocCommittedLengthOffset, 8);
  toc.entries.resize((bytes.size() - kTocHeaderSize) / kTocEntrySize);
  std::size_t at = kTocHeaderSize;
  for (TocEntry& entry : toc.entries) {
    entry = EntryAt(bytes, at);
    at += kTocEntrySize;
  }
  return toc;
}

std::uint32_t MessageChecksum(std::string_view raw) {
  std::uint32_t hash = 2166136261u;
  for (char c : raw) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace tavi::host
