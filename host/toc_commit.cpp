#include "host/toc_commit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tavi::host {
namespace {

bool ReadAllAt(int fd, std::string& bytes, off_t at) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pread(fd, bytes.data() + done, bytes.size() - done, at + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAllAt(int fd, std::string_view bytes, off_t at) {
  while (!bytes.empty()) {
    const ssize_t n = pwrite(fd, bytes.data(), bytes.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    at += n;
  }
  return true;
}

bool CutBack(int fd, off_t size) { return ftruncate(fd, size) == 0; }

std::optional<Toc> ReadHeader(int fd) {
  std::string header(kTocHeaderSize, '\0');
  if (!ReadAllAt(fd, header, 0)) return std::nullopt;
  return ParseToc(header);
}

bool CommitOn(int fd, const TocEntry& entry, std::uint64_t length_before,
              std::uint64_t length_after) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return false;
  const std::optional<Toc> header = ReadHeader(fd);
  if (!header || header->committed_length != length_before) return false;
  // A trailing partial entry (a kill while it was written) is overwritten.
  const std::size_t count =
      (static_cast<std::size_t>(info.st_size) - kTocHeaderSize) / kTocEntrySize;
  const auto entry_at = static_cast<off_t>(kTocHeaderSize + count * kTocEntrySize);
  // The entry first: until the header commits the bytes it describes, a
  // reader cuts those bytes off and rewrites the table anyway.
  if (WriteAllAt(fd, FormatTocEntry(entry), entry_at) &&
      WriteAllAt(fd, FormatTocHeader(count + 1, length_after), 0)) {
    return true;
  }
  // Readers tell the entries by the file's size: the entry goes again, so the
  // next one lands where this one should have. Should even that fail, the
  // table only lists one message too many until it is next written whole.
  CutBack(fd, entry_at);
  return false;
}

}  // namespace

std::optional<std::uint64_t> ReadCommittedLength(const std::string& toc_path) {
  const int fd = open(toc_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  const std::optional<Toc> header = ReadHeader(fd);
  close(fd);
  if (!header) return std::nullopt;
  return header->committed_length;
}

bool CommitAppendedEntry(const std::string& toc_path, const TocEntry& entry,
                         std::uint64_t length_before, std::uint64_t length_after) {
  const int fd = open(toc_path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  const bool committed = CommitOn(fd, entry, length_before, length_after);
  // Don't retry close on EINTR: the descriptor is gone either way.
  return close(fd) == 0 && committed;
}

}  // namespace tavi::host
