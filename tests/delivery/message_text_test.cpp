#include "delivery/message_text.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace tavi {
namespace {

using testing::TempDir;
using testing::WriteFile;

constexpr const char* kHeaderBlock =
    "Subject: First part\r\n"
    " second part\r\n"
    "From: Ann\r\n"
    "Website: http://example.com/a\r\n"
    "Feed: News\r\n"
    "\r\n"
    "<x-html>body</x-html>";

TEST(GetHeaderValue, ReadsTheFirstMatchingLineWithItsContinuations) {
  struct Case {
    const char* message;
    const char* name;
    const char* expected;
  };
  const Case cases[] = {
      // A folded header: the continuation line is appended whole, blank kept.
      {kHeaderBlock, "Subject: ", "First part second part"},
      {kHeaderBlock, "website: ", "http://example.com/a"},
      {kHeaderBlock, "FROM: ", "Ann"},
      {kHeaderBlock, "Date: ", ""},
      // The next header line ends the value: the later Subject is not read.
      {"Subject: a\r\nFrom: b\r\nSubject: c\r\n", "Subject: ", "a"},
      // A repeated header directly below adds its value.
      {"Subject: a\r\nSubject: c\r\nFrom: b\r\n", "Subject: ", "ac"},
      // Every line is compared until one matches, body lines included.
      {"From: b\r\n\r\nhello\r\nWebsite: http://x\r\n", "Website: ", "http://x"},
      // The last header of a block takes the empty line and the body lines
      // without a colon with it.
      {"From: b\r\n\r\nline one\r\nline: two\r\n", "From: ", "bline one"},
      // Only CR LF ends a line: a bare LF stays inside the value.
      {"Subject: a\nFrom: b\r\n", "Subject: ", "a\nFrom: b"},
      {"Subject: a\r\n", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " in " + c.message);
    EXPECT_EQ(GetHeaderValue(c.message, c.name), c.expected);
  }
}

TEST(SplitString, AppendsEveryPieceIncludingTheLastAndReturnsTheListSize) {
  std::vector<std::string> pieces = {"kept"};
  EXPECT_EQ(SplitString("a\r\n\r\nb\r\n", "\r\n", pieces), 5);
  EXPECT_EQ(pieces, (std::vector<std::string>{"kept", "a", "", "b", ""}));

  std::vector<std::string> whole;
  EXPECT_EQ(SplitString("no delimiter", "::", whole), 1);
  EXPECT_EQ(whole, (std::vector<std::string>{"no delimiter"}));
}

TEST(SplitString, EmptyDelimiterLeavesTheListUnchanged) {
  std::vector<std::string> pieces = {"kept"};
  EXPECT_EQ(SplitString("a,b", "", pieces), 0);
  EXPECT_EQ(pieces, (std::vector<std::string>{"kept"}));
}

std::string Utf16LittleEndian(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

TEST(LoadDownloadedText, ConvertsUtf16WithByteOrderMarkToUtf8) {
  TempDir folder;
  const std::string path = folder.Join("page.html");
  // e acute, the euro sign, an emoji as a surrogate pair, and a lone low
  // surrogate, which cannot be converted.
  WriteFile(path, Utf16LittleEndian(u"<p>caf\u00e9 \u20ac \U0001F600 \xDC00</p>"));
  EXPECT_EQ(LoadDownloadedText(path),
            "<p>caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBD</p>");
}

TEST(LoadDownloadedText, PagesThatNameTheirEncodingAreReadAsUtf8) {
  TempDir folder;
  const std::string path = folder.Join("page.html");
  const struct {
    std::string bytes;
    std::string charset;
    std::string text;
  } rows[] = {
      {"<meta charset=\"windows-1251\"><p>\xCF\xF0\xE8</p>", "",
       "<meta charset=\"UTF-8\"><p>\xD0\x9F\xD1\x80\xD0\xB8</p>"},
      {"<p>\xD4\xC5</p>", "koi8-r", "<p>\xD1\x82\xD0\xB5</p>"},
      // UTF-32 is a quarter zero bytes too many until it is converted.
      {std::string("\0\0\xFE\xFF\0\0\0<\0\0\0p\0\0\0>", 16), "", "<p>"},
      // Nothing names the encoding: the bytes as they came.
      {"<p>caf\xE9</p>", "", "<p>caf\xE9</p>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    WriteFile(path, row.bytes);
    EXPECT_EQ(LoadDownloadedText(path, row.charset), row.text);
  }
}

TEST(LoadDownloadedText, StopsAtTheFirstZero) {
  TempDir folder;
  const std::string eight_bit = folder.Join("eight.html");
  WriteFile(eight_bit, std::string("text\0rest", 9));
  EXPECT_EQ(LoadDownloadedText(eight_bit), "text");

  const std::string wide = folder.Join("wide.html");
  WriteFile(wide, Utf16LittleEndian(std::u16string(u"text\0rest", 9)));
  EXPECT_EQ(LoadDownloadedText(wide), "text");
}

TEST(LoadDownloadedText, RefusesBinaryAndUnreadableFiles) {
  TempDir folder;
  const std::string image = folder.Join("picture.png");
  std::string png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
  png += std::string(200, '\0');
  WriteFile(image, png);
  EXPECT_EQ(LoadDownloadedText(image), "-1");

  // 60 bytes with the text ending at byte 9: 9 < 60 / 2 - 20, binary.
  const std::string mostly_zero = folder.Join("zeros.html");
  WriteFile(mostly_zero, std::string("some text") + std::string(51, '\0'));
  EXPECT_EQ(LoadDownloadedText(mostly_zero), "-1");
  // 58 bytes: 9 is not below 58 / 2 - 20, so the text is kept.
  WriteFile(mostly_zero, std::string("some text") + std::string(49, '\0'));
  EXPECT_EQ(LoadDownloadedText(mostly_zero), "some text");

  EXPECT_EQ(LoadDownloadedText(""), "-1");
  EXPECT_EQ(LoadDownloadedText(folder.Join("missing.html")), "-1");
  EXPECT_EQ(LoadDownloadedText(folder.path()), "-1");
}

}  // namespace
}  // namespace tavi
