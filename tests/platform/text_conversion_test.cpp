#include "platform/text_conversion.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi::platform {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(ConvertToUtf8, ReadsEachEncodingAndReplacesWhatItCannotRead) {
  const struct {
    std::string bytes;
    const char* encoding;
    std::string text;
    std::size_t replaced;
  } rows[] = {
      {"Caf\xE9 \x80", "windows-1252", "Caf\xC3\xA9 \xE2\x82\xAC", 0},
      {"\xCF\xF0\xE8\xE2\xE5\xF2", "WINDOWS-1251",
       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82", 0},
      {Bytes({'<', 0, 0xE9, 0}), "utf-16le", "<\xC3\xA9", 0},
      {Bytes({0, '<', 0x20, 0xAC}), "UTF-16BE", "<\xE2\x82\xAC", 0},
      {Bytes({'a', 0, 0, 0, 0x00, 0xF6, 0x01, 0}), "UTF-32LE", "a\xF0\x9F\x98\x80", 0},
      // A byte-order mark is a character like any other here.
      {Bytes({0xFF, 0xFE, 'a', 0}), "UTF-16LE",
       "\xEF\xBB\xBF"
       "a",
       0},
      {"", "windows-1252", "", 0},
      // 0x81 has no character in windows-1252.
      {"a\x81"
       "b",
       "windows-1252",
       "a\xEF\xBF\xBD"
       "b",
       1},
      {"\xFF\xFE"
       "ok",
       "UTF-8",
       "\xEF\xBF\xBD\xEF\xBF\xBD"
       "ok",
       2},
      // A surrogate is no character: one U+FFFD for each of its three bytes.
      {"\xED\xA0\x80!", "UTF-8", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD!", 3},
      // An unpaired surrogate in UTF-16 costs one code unit; the text stays
      // aligned, so the "A" after it survives.
      {Bytes({0x00, 0xD8, 'A', 0}), "UTF-16LE",
       "\xEF\xBF\xBD"
       "A",
       1},
      // A code unit cut off by the end of the text.
      {Bytes({'a', 0, 'b'}), "UTF-16LE", "a\xEF\xBF\xBD", 1},
      {"\xE2\x82", "UTF-8", "\xEF\xBF\xBD", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.encoding + (": " + row.text));
    const Utf8Conversion converted = ConvertToUtf8(row.bytes, row.encoding);
    EXPECT_EQ(converted.text, row.text);
    EXPECT_EQ(converted.replaced, row.replaced);
    EXPECT_EQ(converted.status,
              row.replaced == 0 ? ConversionStatus::kConverted : ConversionStatus::kReplaced);
  }
}

TEST(ConvertToUtf8, ConvertsTextLongerThanOneChunkWhole) {
  // Each byte grows to three: the output fills the chunk many times over.
  const std::string bytes(100000, '\x80');
  std::string expected;
  for (int i = 0; i < 100000; ++i) expected += "\xE2\x82\xAC";
  EXPECT_EQ(ConvertToUtf8(bytes, "windows-1252").text, expected);
}

TEST(ConvertToUtf8, RefusesNamesThatAreNoEncodingsUnread) {
  const std::string rows[] = {
      "x-no-such-encoding",
      "",
      "UTF-8//IGNORE",  // the library's own options are not for documents to choose
      "UTF-8 ",
      "utf\n8",
      std::string(kMaxEncodingNameLength + 1, 'a'),
      std::string(10000, 'U'),
      // The library reads a name of punctuation alone as the locale's own
      // encoding, which is no document's.
      ")",
      "-:",
  };
  for (const std::string& name : rows) {
    SCOPED_TRACE(name.substr(0, 40));
    const Utf8Conversion converted = ConvertToUtf8("abc", name);
    EXPECT_EQ(converted.status, ConversionStatus::kUnknownEncoding);
    EXPECT_EQ(converted.text, "");
  }
  EXPECT_TRUE(IsEncodingName("ISO_8859-1:1987"));
  EXPECT_FALSE(IsEncodingName("UTF-8//TRANSLIT"));
}

}  // namespace
}  // namespace tavi::platform
