#include "host/toc_file.h"

#include <algorithm>

namespace tavi::host {
namespace {

// Marks a table of contents this host wrote, so that one written by anyone
// else is never mistaken for ours when states are carried over.
constexpr std::string_view kSignature = "HTOC\x01";
constexpr std::size_t kOffsetField = 0;
constexpr std::size_t kLengthField = 4;
constexpr std::size_t kChecksumField = 8;
constexpr std::uint32_t kLargestCount = 0xFFFF;

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) {
    bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

std::uint32_t GetLittleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

}  // namespace

std::string FormatToc(const std::vector<TocEntry>& entries) {
  std::string bytes(kTocHeaderSize + entries.size() * kTocEntrySize, '\0');
  std::copy(kSignature.begin(), kSignature.end(), bytes.begin());
  const auto count =
      static_cast<std::uint32_t>(std::min<std::size_t>(entries.size(), kLargestCount));
  PutLittleEndian(bytes, kTocCountOffset, count, 2);
  std::size_t at = kTocHeaderSize;
  for (const TocEntry& entry : entries) {
    PutLittleEndian(bytes, at + kOffsetField, entry.offset, 4);
    PutLittleEndian(bytes, at + kLengthField, entry.length, 4);
    PutLittleEndian(bytes, at + kChecksumField, entry.checksum, 4);
    PutLittleEndian(bytes, at + kTocStateOffset, static_cast<std::uint16_t>(entry.state), 2);
    at += kTocEntrySize;
  }
  return bytes;
}

std::optional<std::vector<TocEntry>> ParseToc(std::string_view bytes) {
  if (bytes.size() < kTocHeaderSize || !bytes.starts_with(kSignature)) return std::nullopt;
  if ((bytes.size() - kTocHeaderSize) % kTocEntrySize != 0) return std::nullopt;
  std::vector<TocEntry> entries((bytes.size() - kTocHeaderSize) / kTocEntrySize);
  std::size_t at = kTocHeaderSize;
  for (TocEntry& entry : entries) {
    entry.offset = GetLittleEndian(bytes, at + kOffsetField, 4);
    entry.length = GetLittleEndian(bytes, at + kLengthField, 4);
    entry.checksum = GetLittleEndian(bytes, at + kChecksumField, 4);
    entry.state = static_cast<std::int16_t>(GetLittleEndian(bytes, at + kTocStateOffset, 2));
    at += kTocEntrySize;
  }
  return entries;
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
