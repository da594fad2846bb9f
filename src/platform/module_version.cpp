#include "platform/module_version.h"

#include <elf.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>

namespace tavi::platform {
namespace {

// The section-name table is read whole; real ones are a few hundred bytes.
constexpr std::uint64_t kMaxSectionNamesSize = 1024 * 1024;

// Reads byte ranges of one file, refusing any range that does not lie
// wholly inside it.
class FileRanges {
 public:
  explicit FileRanges(const std::string& path) : file_(path, std::ios::binary) {
    if (!file_) return;
    file_.seekg(0, std::ios::end);
    const std::streamoff end = file_.tellg();
    size_ = end > 0 ? static_cast<std::uint64_t>(end) : 0;
  }

  bool Read(std::uint64_t offset, std::uint64_t length, std::string& bytes) {
    if (!file_ || offset > size_ || length > size_ - offset) return false;
    bytes.resize(length);
    file_.seekg(static_cast<std::streamoff>(offset));
    file_.read(bytes.data(), static_cast<std::streamsize>(length));
    return static_cast<std::uint64_t>(file_.gcount()) == length;
  }

  template <typename Record>
  bool ReadRecord(std::uint64_t offset, Record& record) {
    std::string bytes;
    if (!Read(offset, sizeof(Record), bytes)) return false;
    std::memcpy(&record, bytes.data(), sizeof(Record));
    return true;
  }

 private:
  std::ifstream file_;
  std::uint64_t size_ = 0;
};

constexpr unsigned char kNativeByteOrder =
    std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

bool HasElfMagic(const unsigned char* ident) {
  return std::memcmp(ident, ELFMAG, SELFMAG) == 0 && ident[EI_DATA] == kNativeByteOrder;
}

// The name at `offset` of the section-name table, or nullopt when it is not
// terminated inside the table.
std::optional<std::string_view> SectionName(std::string_view names, std::uint64_t offset) {
  if (offset >= names.size()) return std::nullopt;
  const std::size_t end = names.find('\0', offset);
  if (end == std::string_view::npos) return std::nullopt;
  return names.substr(offset, end - offset);
}

// The contents of the section named `wanted`, for either ELF class.
template <typename Header, typename SectionHeader>
std::optional<std::string> FindSection(FileRanges& file, std::string_view wanted) {
  Header header;
  if (!file.ReadRecord(0, header)) return std::nullopt;
  if (header.e_shentsize != sizeof(SectionHeader) || header.e_shnum == 0) return std::nullopt;
  if (header.e_shstrndx >= header.e_shnum) return std::nullopt;
  // A table offset near the top of the range must not wrap round into the file.
  const std::uint64_t table_size = std::uint64_t{header.e_shnum} * sizeof(SectionHeader);
  if (header.e_shoff > std::numeric_limits<std::uint64_t>::max() - table_size) return std::nullopt;
  auto section_header = [&](std::uint64_t index, SectionHeader& section) {
    return file.ReadRecord(header.e_shoff + index * sizeof(SectionHeader), section);
  };
  SectionHeader names_header;
  std::string names;
  if (!section_header(header.e_shstrndx, names_header) || names_header.sh_type == SHT_NOBITS ||
      names_header.sh_size > kMaxSectionNamesSize ||
      !file.Read(names_header.sh_offset, names_header.sh_size, names))
    return std::nullopt;
  for (std::uint64_t index = 0; index < header.e_shnum; ++index) {
    SectionHeader section;
    if (!section_header(index, section)) return std::nullopt;
    if (SectionName(names, section.sh_name) != wanted) continue;
    std::string contents;
    if (section.sh_type == SHT_NOBITS || section.sh_size > kMaxVersionBlockSize ||
        !file.Read(section.sh_offset, section.sh_size, contents))
      return std::nullopt;
    return contents;
  }
  return std::nullopt;
}

std::optional<std::string> FindElfSection(const std::string& path, std::string_view wanted) {
  FileRanges file(path);
  std::string ident;
  if (!file.Read(0, EI_NIDENT, ident)) return std::nullopt;
  const auto* ident_bytes = reinterpret_cast<const unsigned char*>(ident.data());
  if (!HasElfMagic(ident_bytes)) return std::nullopt;
  if (ident_bytes[EI_CLASS] == ELFCLASS64) return FindSection<Elf64_Ehdr, Elf64_Shdr>(file, wanted);
  if (ident_bytes[EI_CLASS] == ELFCLASS32) return FindSection<Elf32_Ehdr, Elf32_Shdr>(file, wanted);
  return std::nullopt;
}

// Takes the next NUL-terminated text from `rest`; false when unterminated.
bool TakeText(std::string_view& rest, std::string& text) {
  const std::size_t end = rest.find('\0');
  if (end == std::string_view::npos) return false;
  text.assign(rest.substr(0, end));
  rest.remove_prefix(end + 1);
  return true;
}

std::optional<ModuleVersionBlock> ParseBlock(std::string_view rest) {
  ModuleVersionBlock block;
  while (!rest.empty()) {
    std::string key;
    std::string value;
    if (!TakeText(rest, key)) return std::nullopt;
    if (key.empty()) break;
    if (!TakeText(rest, value)) return std::nullopt;
    block.strings.emplace_back(std::move(key), std::move(value));
  }
  return block;
}

}  // namespace

std::optional<std::string> ModuleVersionBlock::Find(std::string_view key) const {
  for (const auto& [name, value] : strings) {
    if (name == key) return value;
  }
  return std::nullopt;
}

std::optional<ModuleVersionBlock> ReadModuleVersionBlock(const std::string& module_file) {
  const std::optional<std::string> section = FindElfSection(module_file, kVersionSectionName);
  if (!section) return std::nullopt;
  return ParseBlock(*section);
}

}  // namespace tavi::platform
