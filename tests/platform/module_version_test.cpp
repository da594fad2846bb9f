#include "platform/module_version.h"

#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

#include "platform/fs.h"
#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

using Strings = std::vector<std::pair<std::string, std::string>>;

// This test program carries a block of its own, read back from its file.
TAVI_VERSION_BLOCK_SECTION const char kOwnBlock[] =
    "ProductName\0Test Program\0ProductVersion\0"
    "3, 7, 1, 2";

TEST(ModuleVersion, ReadsTheBlockOfARealModuleFile) {
  const auto block = ReadModuleVersionBlock(ExecutablePath());
  ASSERT_TRUE(block.has_value());
  EXPECT_EQ(block->strings,
            (Strings{{"ProductName", "Test Program"}, {"ProductVersion", "3, 7, 1, 2"}}));
  EXPECT_EQ(block->Find("ProductVersion"), "3, 7, 1, 2");
  EXPECT_EQ(block->Find("productname"), std::nullopt);
}

// A minimal ELF file: the ELF header, the section names, the version section
// and the section headers (null, names, version), in that order.
template <typename Header, typename SectionHeader>
struct ElfImage {
  Header header{};
  std::vector<SectionHeader> sections;
  std::string names = std::string("\0.shstrtab\0.tavi_version\0", 25);
  std::string block;

  explicit ElfImage(std::string version_block, unsigned char elf_class)
      : block(std::move(version_block)) {
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = elf_class;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_shentsize = sizeof(SectionHeader);
    header.e_shnum = 3;
    header.e_shstrndx = 1;
    header.e_shoff = sizeof(Header) + names.size() + block.size();
    sections.resize(3);
    sections[1] = Section(1, sizeof(Header), names.size());
    sections[2] = Section(11, sizeof(Header) + names.size(), block.size());
  }

  static SectionHeader Section(std::uint32_t name, std::uint64_t offset, std::uint64_t size) {
    SectionHeader section{};
    section.sh_name = name;
    section.sh_type = SHT_PROGBITS;
    section.sh_offset = offset;
    section.sh_size = size;
    return section;
  }

  std::string Bytes() const {
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof(Header));
    bytes += names + block;
    for (const SectionHeader& section : sections)
      bytes.append(reinterpret_cast<const char*>(&section), sizeof(SectionHeader));
    return bytes;
  }
};

using Elf64Image = ElfImage<Elf64_Ehdr, Elf64_Shdr>;
using Elf32Image = ElfImage<Elf32_Ehdr, Elf32_Shdr>;

const std::string kGoodBlock(
    "ProductName\0Tavi\0ProductVersion\0"
    "2, 4, 0, 1\0",
    43);

std::optional<ModuleVersionBlock> ReadImage(const std::string& bytes) {
  testing::TempDir dir;
  testing::WriteFile(dir.Join("module.so"), bytes);
  return ReadModuleVersionBlock(dir.Join("module.so"));
}

TEST(ModuleVersion, ReadsBothElfClasses) {
  const Strings expected{{"ProductName", "Tavi"}, {"ProductVersion", "2, 4, 0, 1"}};
  const auto from_64 = ReadImage(Elf64Image(kGoodBlock, ELFCLASS64).Bytes());
  ASSERT_TRUE(from_64.has_value());
  EXPECT_EQ(from_64->strings, expected);
  const auto from_32 = ReadImage(Elf32Image(kGoodBlock, ELFCLASS32).Bytes());
  ASSERT_TRUE(from_32.has_value());
  EXPECT_EQ(from_32->strings, expected);
}

TEST(ModuleVersion, BlockEndsAtAnEmptyKeyOrTheSectionEnd) {
  struct Case {
    const char* name;
    std::string block;
    Strings expected;
  };
  const Case cases[] = {
      {"padding after the last value", std::string("A\0a\0\0\0\0\0", 8), {{"A", "a"}}},
      {"empty section", "", {}},
      {"empty value kept", std::string("A\0\0B\0b\0", 7), {{"A", ""}, {"B", "b"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto block = ReadImage(Elf64Image(c.block, ELFCLASS64).Bytes());
    ASSERT_TRUE(block.has_value());
    EXPECT_EQ(block->strings, c.expected);
  }
}

TEST(ModuleVersion, RefusesMalformedFiles) {
  using Mutation = std::function<void(Elf64Image&)>;
  struct Case {
    const char* name;
    Mutation mutate;
  };
  const Case cases[] = {
      {"other byte order", [](Elf64Image& i) { i.header.e_ident[EI_DATA] = ELFDATA2MSB; }},
      {"unknown class", [](Elf64Image& i) { i.header.e_ident[EI_CLASS] = 7; }},
      {"bad magic", [](Elf64Image& i) { i.header.e_ident[1] = 'X'; }},
      {"no sections", [](Elf64Image& i) { i.header.e_shnum = 0; }},
      {"odd header size", [](Elf64Image& i) { i.header.e_shentsize = 40; }},
      {"names index out of range", [](Elf64Image& i) { i.header.e_shstrndx = 3; }},
      {"table beyond the file", [](Elf64Image& i) { i.header.e_shoff += 4096; }},
      {"table offset at the top of the range",
       [](Elf64Image& i) { i.header.e_shoff = std::numeric_limits<std::uint64_t>::max() - 63; }},
      {"names beyond the file", [](Elf64Image& i) { i.sections[1].sh_offset = 1 << 20; }},
      {"names without data", [](Elf64Image& i) { i.sections[1].sh_type = SHT_NOBITS; }},
      {"section name unterminated", [](Elf64Image& i) { i.names.back() = 'x'; }},
      {"section name out of range", [](Elf64Image& i) { i.sections[2].sh_name = 500; }},
      {"no version section", [](Elf64Image& i) { i.names[12] = 'X'; }},
      {"block beyond the file", [](Elf64Image& i) { i.sections[2].sh_size = 1 << 20; }},
      {"block too large", [](Elf64Image& i) { i.sections[2].sh_size = kMaxVersionBlockSize + 1; }},
      {"block without data", [](Elf64Image& i) { i.sections[2].sh_type = SHT_NOBITS; }},
      {"value unterminated", [](Elf64Image& i) { i.block.back() = '1'; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Elf64Image image(kGoodBlock, ELFCLASS64);
    c.mutate(image);
    EXPECT_EQ(ReadImage(image.Bytes()), std::nullopt);
  }
}

TEST(ModuleVersion, RefusesFilesThatAreNoModules) {
  const std::string image = Elf64Image(kGoodBlock, ELFCLASS64).Bytes();
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty file", ""},
      {"text file", "ProductName=Tavi\n"},
      {"cut inside the ELF header", image.substr(0, 40)},
      {"cut inside the section table", image.substr(0, image.size() - 10)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadImage(c.bytes), std::nullopt);
  }
  testing::TempDir dir;
  EXPECT_EQ(ReadModuleVersionBlock(dir.Join("absent.so")), std::nullopt);
  EXPECT_EQ(ReadModuleVersionBlock(dir.path()), std::nullopt);
}

}  // namespace
}  // namespace tavi::platform
