#include "fetch/document_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi {
namespace {

// `text` (ASCII) in UTF-16 or UTF-32 of the given byte order, after `mark`.
std::string Wide(std::string_view text, int width, bool big_endian, std::string mark) {
  for (const char c : text) {
    std::string unit(width, '\0');
    unit[big_endian ? width - 1 : 0] = c;
    mark += unit;
  }
  return mark;
}

constexpr const char* kFeed = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><rss>e</rss>";
constexpr const char* kConvertedFeed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><rss>e</rss>";

TEST(DecodeFeedDocument, ReadsEachEncodingFromWhereItIsNamed) {
  const struct {
    std::string bytes;
    std::string charset;
    std::string text;
    std::string encoding;
    EncodingSource source;
  } rows[] = {
      // Latin-1 is read as windows-1252, so 0x80 is the euro sign.
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9 \x80</a>", "",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>caf\xC3\xA9 \xE2\x82\xAC</a>", "windows-1252",
       EncodingSource::kDeclaration},
      {"<?xml version='1.0' encoding='windows-1251'?><a>\xCF\xF0\xE8</a>", "",
       "<?xml version='1.0' encoding='UTF-8'?><a>\xD0\x9F\xD1\x80\xD0\xB8</a>", "windows-1251",
       EncodingSource::kDeclaration},
      {Wide(kFeed, 2, false, "\xFF\xFE"), "", kConvertedFeed, "UTF-16LE",
       EncodingSource::kByteOrderMark},
      {Wide(kFeed, 2, true, "\xFE\xFF"), "", kConvertedFeed, "UTF-16BE",
       EncodingSource::kByteOrderMark},
      {Wide(kFeed, 4, false, std::string("\xFF\xFE\0\0", 4)), "", kConvertedFeed, "UTF-32LE",
       EncodingSource::kByteOrderMark},
      {Wide(kFeed, 4, true, std::string("\0\0\xFE\xFF", 4)), "", kConvertedFeed, "UTF-32BE",
       EncodingSource::kByteOrderMark},
      // The mark wins over the charset; UTF-8's mark is dropped and the
      // declaration made to agree with it.
      {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"latin1\"?><a>\xC3\xA9</a>", "koi8-r",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>", "UTF-8",
       EncodingSource::kByteOrderMark},
      // A mark followed by nothing is an empty document.
      {"\xFF\xFE", "", "", "UTF-16LE", EncodingSource::kByteOrderMark},
      {"\xEF\xBB\xBF", "", "", "UTF-8", EncodingSource::kByteOrderMark},
      // The charset wins over the declaration, with blanks and quotes ignored.
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE9</a>", " \"ISO-8859-1\" ",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>", "windows-1252",
       EncodingSource::kCharset},
      {"<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\xC3\xA9</a>", "utf-8",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>", "UTF-8",
       EncodingSource::kCharset},
      {"<a>\xD4\xC5</a>", "KOI8-R", "<a>\xD1\x82\xD0\xB5</a>", "KOI8-R", EncodingSource::kCharset},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.encoding + " from " + row.text);
    const DecodedDocument decoded = DecodeFeedDocument(row.bytes, row.charset);
    EXPECT_EQ(decoded.text, row.text);
    EXPECT_EQ(decoded.encoding.name, row.encoding);
    EXPECT_EQ(decoded.encoding.source, row.source);
    EXPECT_EQ(decoded.encoding.note, "");
  }
}

TEST(DecodeFeedDocument, Utf8DocumentsStayByteForByte) {
  const std::string rows[] = {
      "<rss><channel><item><title>Caf\xC3\xA9 \xE2\x82\xAC</title></item></channel></rss>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<feed/>",
      "<?xml version=\"1.0\" encoding=\"utf8\"?><feed/>",
      "<?xml version=\"1.0\"?><feed/>",
      "",
      std::string("<a>\0</a>", 8),
  };
  for (const std::string& bytes : rows) {
    SCOPED_TRACE(bytes);
    const DecodedDocument decoded = DecodeFeedDocument(bytes, "");
    EXPECT_EQ(decoded.text, bytes);
    EXPECT_EQ(decoded.encoding.name, "UTF-8");
    EXPECT_EQ(decoded.encoding.note, "");
  }
}

// Names that cannot be used are passed over with a note, and the next place
// asked; when none is left the document is read exactly as it came.
TEST(DecodeFeedDocument, UnusableNamesAreNotedAndPassedOver) {
  const std::string long_name(10000, 'x');
  const struct {
    std::string bytes;
    std::string charset;
    std::string text;
    std::string encoding;
    EncodingSource source;
    std::string note;
  } rows[] = {
      {"<?xml version=\"1.0\" encoding=\"x-martian\"?><a>\xE9</a>", "",
       "<?xml version=\"1.0\" encoding=\"x-martian\"?><a>\xE9</a>", "UTF-8",
       EncodingSource::kDefault,
       "unknown encoding \"x-martian\" in the XML declaration, ignored; invalid UTF-8 left as it "
       "came (1 byte)"},
      {"<?xml version=\"1.0\" encoding=\"" + long_name + "\"?><a/>", "",
       "<?xml version=\"1.0\" encoding=\"" + long_name + "\"?><a/>", "UTF-8",
       EncodingSource::kDefault,
       "the XML declaration names no encoding (a name of 10000 bytes), ignored"},
      {"<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\xCF</a>", long_name,
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xD0\x9F</a>", "windows-1251",
       EncodingSource::kDeclaration,
       "the Content-Type charset names no encoding (a name of 10000 bytes), ignored"},
      {"<?xml version=\"1.0\" encoding=\"latin1\"?><a>\xE9</a>", "utf-8//IGNORE",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xC3\xA9</a>", "windows-1252",
       EncodingSource::kDeclaration,
       "the Content-Type charset names no encoding (a name of 13 bytes), ignored"},
      {"<?xml version='1.0' encoding='cp1252'?><a>\xE9</a>", "x-none",
       "<?xml version='1.0' encoding='UTF-8'?><a>\xC3\xA9</a>", "windows-1252",
       EncodingSource::kDeclaration,
       "unknown encoding \"x-none\" in the Content-Type charset, ignored"},
      // A declaration read in ASCII cannot be in UTF-16.
      {"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", "",
       "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a/>", "UTF-8", EncodingSource::kDefault,
       "the XML declaration names UTF-16 but there is no byte-order mark, ignored"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.note);
    const DecodedDocument decoded = DecodeFeedDocument(row.bytes, row.charset);
    EXPECT_EQ(decoded.text, row.text);
    EXPECT_EQ(decoded.encoding.name, row.encoding);
    EXPECT_EQ(decoded.encoding.source, row.source);
    EXPECT_EQ(decoded.encoding.note, row.note);
  }
}

// A declaration that lies about its bytes: what cannot be read becomes
// U+FFFD, the rest is read as declared, and the note counts the replacements.
TEST(DecodeFeedDocument, BytesInvalidInTheDeclaredEncodingBecomeReplacementCharacters) {
  const DecodedDocument shift_jis =
      DecodeFeedDocument("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a>\x82\xA0\x82</a>", "");
  EXPECT_EQ(shift_jis.text,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><a>\xE3\x81\x82\xEF\xBF\xBD</a>");
  EXPECT_EQ(shift_jis.encoding.name, "Shift_JIS");
  EXPECT_EQ(shift_jis.encoding.note, "invalid Shift_JIS replaced by U+FFFD (1 sequence)");

  const DecodedDocument odd_length =
      DecodeFeedDocument(Wide("<a/>", 2, true, "\xFE\xFF") + "!", "");
  EXPECT_EQ(odd_length.text, "<a/>\xEF\xBF\xBD");
  EXPECT_EQ(odd_length.encoding.note, "invalid UTF-16BE replaced by U+FFFD (1 sequence)");
}

TEST(DecodeWebPage, ReadsThePageByItsMarkCharsetOrMeta) {
  const struct {
    std::string bytes;
    std::string charset;
    std::string text;
    std::string encoding;
    EncodingSource source;
  } rows[] = {
      // The meta charset is made to say what the text now is.
      {"<head><meta charset=\"windows-1251\"></head><p>\xCF\xF0\xE8</p>", "",
       "<head><meta charset=\"UTF-8\"></head><p>\xD0\x9F\xD1\x80\xD0\xB8</p>", "windows-1251",
       EncodingSource::kMetaCharset},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"><p>\xE9</p>",
       "", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"><p>\xC3\xA9</p>",
       "windows-1252", EncodingSource::kMetaCharset},
      // The transport's charset wins over the meta.
      {"<meta charset=\"windows-1251\"><p>\xD4\xC5</p>", "koi8-r",
       "<meta charset=\"UTF-8\"><p>\xD1\x82\xD0\xB5</p>", "koi8-r", EncodingSource::kCharset},
      {Wide("<meta charset=\"utf-16\"><p>e</p>", 2, true, "\xFE\xFF"), "",
       "<meta charset=\"UTF-8\"><p>e</p>", "UTF-16BE", EncodingSource::kByteOrderMark},
      // Only the name is put right: the stray quote after it stays.
      {"<meta charset=koi8-r\"><p>\xD4\xC5</p>", "",
       "<meta charset=UTF-8\"><p>\xD1\x82\xD0\xB5</p>", "koi8-r", EncodingSource::kMetaCharset},
      // An XHTML page's declaration is put right as well as its meta.
      {"<?xml version=\"1.0\" encoding=\"koi8-r\"?><html><head><meta charset=\"koi8-r\"/>", "",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html><head><meta charset=\"UTF-8\"/>", "koi8-r",
       EncodingSource::kMetaCharset},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.encoding + " from " + row.text);
    const DecodedDocument decoded = DecodeWebPage(row.bytes, row.charset);
    EXPECT_EQ(decoded.text, row.text);
    EXPECT_EQ(decoded.encoding.name, row.encoding);
    EXPECT_EQ(decoded.encoding.source, row.source);
    EXPECT_EQ(decoded.encoding.note, "");
  }
}

TEST(DecodeWebPage, APageThatNamesNoUsableEncodingStaysAsItCame) {
  const struct {
    std::string bytes;
    std::string note;
  } rows[] = {
      {"<p>caf\xE9</p>", "invalid UTF-8 left as it came (1 byte)"},
      // The XML declaration is not where a page names its encoding.
      {"<?xml version=\"1.0\" encoding=\"koi8-r\"?><p>\xD4</p>",
       "invalid UTF-8 left as it came (1 byte)"},
      {"<meta charset=\"no-such-encoding\"><p>text</p>",
       "unknown encoding \"no-such-encoding\" in the meta charset, ignored"},
      // Read as ASCII, the meta cannot have been written in UTF-16.
      {"<meta charset=\"utf-16\"><p>text</p>",
       "the meta charset names utf-16 but there is no byte-order mark, ignored"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bytes);
    const DecodedDocument decoded = DecodeWebPage(row.bytes, "");
    EXPECT_EQ(decoded.text, row.bytes);
    EXPECT_EQ(decoded.encoding.source, EncodingSource::kDefault);
    EXPECT_EQ(decoded.encoding.note, row.note);
  }
  // A feed document never has its text taken for a meta element.
  const std::string feed = "<rss><![CDATA[<meta charset=\"koi8-r\">]]>\xD4</rss>";
  EXPECT_EQ(DecodeFeedDocument(feed, "").text, feed);
}

}  // namespace
}  // namespace tavi
