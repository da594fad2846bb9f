#include "host/toc_file.h"

#include <gtest/gtest.h>

namespace tavi::host {
namespace {

std::uint32_t Read(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(TocFile, PutsCountAndStatesWhereReadersLook) {
  const std::vector<TocEntry> entries = {
      {0, 100, 7, kUnreadState}, {100, 50, 8, 1}, {150, 9, 9, -2}};
  const std::string bytes = FormatToc(entries);
  ASSERT_EQ(bytes.size(), 104u + 3 * 218u);
  EXPECT_EQ(Read(bytes, 102, 2), 3u);
  EXPECT_EQ(Read(bytes, 104 + 0 * 218 + 12, 2), 0u);
  EXPECT_EQ(Read(bytes, 104 + 1 * 218 + 12, 2), 1u);
  EXPECT_EQ(static_cast<std::int16_t>(Read(bytes, 104 + 2 * 218 + 12, 2)), -2);

  const auto parsed = ParseToc(bytes);
  ASSERT_TRUE(parsed.has_value());
  ASSERT_EQ(parsed->size(), 3u);
  EXPECT_EQ((*parsed)[1].offset, 100u);
  EXPECT_EQ((*parsed)[1].length, 50u);
  EXPECT_EQ((*parsed)[1].checksum, 8u);
  EXPECT_EQ((*parsed)[2].state, -2);
}

TEST(TocFile, CapsTheCountButKeepsEveryEntry) {
  const std::string bytes = FormatToc(std::vector<TocEntry>(70000));
  EXPECT_EQ(Read(bytes, 102, 2), 0xFFFFu);
  const auto parsed = ParseToc(bytes);
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(parsed->size(), 70000u);
}

TEST(TocFile, RefusesWhatItDidNotWrite) {
  const std::string good = FormatToc({{}});
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"header only, cut short", good.substr(0, 103)},
      {"a partial entry", good.substr(0, good.size() - 1)},
      {"foreign signature", std::string(104, '\0')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(ParseToc(c.bytes).has_value());
  }
  EXPECT_TRUE(ParseToc(FormatToc({})).has_value());
}

TEST(TocFile, ChecksumTellsMessagesApart) {
  EXPECT_NE(MessageChecksum("a"), MessageChecksum("b"));
  EXPECT_EQ(MessageChecksum("same"), MessageChecksum("same"));
}

}  // namespace
}  // namespace tavi::host
