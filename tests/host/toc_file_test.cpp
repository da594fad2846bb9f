#include "host/toc_file.h"

#include <gtest/gtest.h>

namespace tavi::host {
namespace {

std::uint64_t Read(const std::string& bytes, std::size_t at, int size) {
  std::uint64_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// A table as the first version wrote it: no committed length.
std::string FirstVersionToc(const std::vector<TocEntry>& entries) {
  std::string bytes = FormatToc(entries, 0);
  bytes[4] = '\x01';
  return bytes;
}

TEST(TocFile, PutsCountStatesAndCommittedLengthWhereReadersLook) {
  const std::vector<TocEntry> entries = {
      {0, 100, 7, kUnreadState}, {100, 50, 8, 1}, {150, 9, 9, -2}};
  const std::uint64_t committed = 0x123456789Aull;
  const std::string bytes = FormatToc(entries, committed);
  ASSERT_EQ(bytes.size(), 104u + 3 * 218u);
  EXPECT_EQ(Read(bytes, 102, 2), 3u);
  EXPECT_EQ(Read(bytes, 8, 8), committed);
  EXPECT_EQ(Read(bytes, 104 + 0 * 218 + 12, 2), 0u);
  EXPECT_EQ(Read(bytes, 104 + 1 * 218 + 12, 2), 1u);
  EXPECT_EQ(static_cast<std::int16_t>(Read(bytes, 104 + 2 * 218 + 12, 2)), -2);
  // The header is zero beyond the signature and those two fields.
  EXPECT_EQ(bytes.substr(16, 86), std::string(86, '\0'));

  const auto parsed = ParseToc(bytes);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->entries, entries);
  EXPECT_EQ(parsed->committed_length, committed);
}

TEST(TocFile, CapsTheCountButKeepsEveryEntry) {
  const std::string bytes = FormatToc(std::vector<TocEntry>(70000), 1);
  EXPECT_EQ(Read(bytes, 102, 2), 0xFFFFu);
  const auto parsed = ParseToc(bytes);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->entries.size(), 70000u);
}

TEST(TocFile, ReadsTheFirstVersionForItsStatesButNoCommittedLength) {
  const std::vector<TocEntry> entries = {{0, 100, 7, 1}};
  const auto parsed = ParseToc(FirstVersionToc(entries));
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->entries, entries);
  EXPECT_EQ(parsed->committed_length, std::nullopt);
}

TEST(TocFile, IgnoresATrailingPartialEntry) {
  const std::vector<TocEntry> entries = {{0, 100, 7, 1}, {100, 20, 8, 0}};
  const std::string whole = FormatToc(entries, 120);
  const struct {
    const char* what;
    std::string bytes;
    std::size_t entries;
  } cases[] = {
      {"one byte of a third entry", whole + '\x01', 2},
      {"all but one byte of a third entry", whole + std::string(217, '\x01'), 2},
      {"the second entry cut short", whole.substr(0, whole.size() - 1), 1},
      {"the header alone", whole.substr(0, 104), 0},
      {"the first version, cut short", FirstVersionToc(entries).substr(0, 104 + 300), 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto parsed = ParseToc(c.bytes);
    ASSERT_TRUE(parsed.has_value());
    ASSERT_EQ(parsed->entries.size(), c.entries);
    if (c.entries > 0) {
      EXPECT_EQ(parsed->entries[0], entries[0]);
    }
  }
  EXPECT_EQ(ParseToc(whole + "x")->committed_length, 120u);
}

TEST(TocFile, RefusesWhatItDidNotWrite) {
  const std::string good = FormatToc({{}}, 0);
  std::string later_version = good;
  later_version[4] = '\x03';
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"header only, cut short", good.substr(0, 103)},
      {"foreign signature", std::string(104, '\0')},
      {"a version it does not know", later_version},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(ParseToc(c.bytes).has_value());
  }
}

TEST(TocFile, ChecksumTellsMessagesApart) {
  EXPECT_NE(MessageChecksum("a"), MessageChecksum("b"));
  EXPECT_EQ(MessageChecksum("same"), MessageChecksum("same"));
}

}  // namespace
}  // namespace tavi::host
