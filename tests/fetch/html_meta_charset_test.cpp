#include "fetch/html_meta_charset.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi {
namespace {

TEST(HtmlMetaCharset, FindsTheFirstMetaThatNamesAnEncoding) {
  const struct {
    std::string page;
    std::string charset;
  } rows[] = {
      {"<html><head><meta charset=\"windows-1251\"></head>", "windows-1251"},
      {"<META CHARSET=koi8-r>", "koi8-r"},
      {"<meta charset='iso-8859-2'/>", "iso-8859-2"},
      {"<meta\n\tcharset = \"gb2312\" >", "gb2312"},
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
       "windows-1251"},
      // The attributes in any order, the charset in quotes of its own.
      {"<meta content='text/html;Charset=\"koi8-r\"' HTTP-EQUIV=content-type>", "koi8-r"},
      {"<meta http-equiv=\"content-type\" content=\"text/html; charset = big5 ; x=y\">", "big5"},
      // Only a Content-Type's content names the encoding.
      {"<meta http-equiv=\"refresh\" content=\"5; charset=koi8-r\">", ""},
      {"<meta name=\"description\" content=\"charset=koi8-r\">", ""},
      // An empty charset names nothing; a later meta still may.
      {"<meta charset=\"\"><meta charset=\"euc-kr\">", "euc-kr"},
      // A meta in a comment is no meta; one after the comment is.
      {"<!-- <meta charset=\"koi8-r\"> --><meta charset=\"cp1250\">", "cp1250"},
      {"<!-- <meta charset=\"koi8-r\">", ""},
      {"<metadata charset=\"koi8-r\"><meta/charset=\"utf-8\">", "utf-8"},
      {"<meta charset=\"koi8-r", ""},  // never closed
      // An unquoted value ends at a quote.
      {"<meta charset=koi8-r\"x\">", "koi8-r"},
      {"<p>no meta at all</p>", ""},
      {"", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.page);
    EXPECT_EQ(MetaCharset(row.page), row.charset);
  }
}

TEST(HtmlMetaCharset, LooksOnlyAtTheStartOfThePage) {
  const std::string meta = "<meta charset=\"koi8-r\">";
  const std::string within(kMetaCharsetScanBytes - meta.size(), ' ');
  EXPECT_EQ(MetaCharset(within + meta), "koi8-r");
  // The end of the tag may lie beyond, the closing quote may not.
  EXPECT_EQ(MetaCharset(within + " " + meta), "koi8-r");
  EXPECT_EQ(MetaCharset(within + "  " + meta), "");
}

TEST(HtmlMetaCharset, PlacesTheNameInThePage) {
  const std::string page =
      "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">";
  const auto place = FindMetaCharset(page);
  ASSERT_TRUE(place);
  EXPECT_EQ(place->offset, page.find("koi8-r"));
  EXPECT_EQ(place->length, 6u);
}

}  // namespace
}  // namespace tavi
