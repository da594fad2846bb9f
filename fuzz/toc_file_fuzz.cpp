// Any bytes as a table of contents: reading it must neither crash nor read
// past the bytes, and whatever it reads must be written back and read again
// unchanged. Any bytes as entries: written and read back, they come out as
// they went in.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "host/toc_file.h"

namespace {

namespace host = tavi::host;

// Bytes taken from the input for one entry: offset, length, checksum, state.
constexpr std::size_t kEntryBytes = 14;

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

void CheckReadTableWritesBack(std::string_view bytes) {
  const std::optional<host::Toc> toc = host::ParseToc(bytes);
  if (!toc) return;
  Check(toc->entries.size() == (bytes.size() - host::kTocHeaderSize) / host::kTocEntrySize);
  const std::uint64_t committed = toc->committed_length.value_or(0);
  const std::optional<host::Toc> again = host::ParseToc(host::FormatToc(toc->entries, committed));
  Check(again && again->entries == toc->entries && again->committed_length == committed);
}

std::vector<host::TocEntry> EntriesFrom(std::string_view bytes) {
  std::vector<host::TocEntry> entries;
  for (; bytes.size() >= kEntryBytes; bytes.remove_prefix(kEntryBytes)) {
    host::TocEntry entry;
    std::memcpy(&entry.offset, bytes.data(), 4);
    std::memcpy(&entry.length, bytes.data() + 4, 4);
    std::memcpy(&entry.checksum, bytes.data() + 8, 4);
    std::memcpy(&entry.state, bytes.data() + 12, 2);
    entries.push_back(entry);
  }
  return entries;
}

void CheckWrittenEntriesReadBack(std::string_view bytes) {
  std::uint64_t committed = 0;
  if (!bytes.empty()) std::memcpy(&committed, bytes.data(), std::min<std::size_t>(bytes.size(), 8));
  const std::vector<host::TocEntry> entries = EntriesFrom(bytes);
  const std::optional<host::Toc> read = host::ParseToc(host::FormatToc(entries, committed));
  Check(read && read->entries == entries && read->committed_length == committed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckReadTableWritesBack(bytes);
  CheckWrittenEntriesReadBack(bytes);
  return 0;
}
