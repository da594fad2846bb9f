#include "platform/net_headers.h"

#include <gtest/gtest.h>

namespace tavi::platform {
namespace {

TEST(NetHeaders, HeaderLinesSplitIntoNameAndTrimmedValue) {
  const struct {
    const char* line;
    bool is_field;
    const char* name;
    const char* value;
  } cases[] = {
      {"ETag: \"v1\"\r\n", true, "ETag", "\"v1\""},
      {"last-modified:\tTue, 01 Dec 2026 10:00:00 GMT \r\n", true, "last-modified",
       "Tue, 01 Dec 2026 10:00:00 GMT"},
      {"X-Empty:\r\n", true, "X-Empty", ""},
      // The value's own colons stay in it.
      {"Location: http://h/a:b\n", true, "Location", "http://h/a:b"},
      {"HTTP/1.1 200 OK\r\n", false, "", ""},
      {"HTTP/2 304\r\n", false, "", ""},
      {"\r\n", false, "", ""},
      {": no name\r\n", false, "", ""},
      {"no colon at all\r\n", false, "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto field = ParseHeaderField(c.line);
    ASSERT_EQ(field.has_value(), c.is_field);
    if (!field) continue;
    EXPECT_EQ(field->name, c.name);
    EXPECT_EQ(field->value, c.value);
  }
  EXPECT_TRUE(IsHeaderNamed(*ParseHeaderField("etag: x"), "ETag"));
  EXPECT_FALSE(IsHeaderNamed(*ParseHeaderField("ETags: x"), "ETag"));
}

TEST(NetHeaders, CharsetIsTakenFromTheContentTypeParameters) {
  const struct {
    const char* content_type;
    const char* charset;
  } cases[] = {
      {"application/rss+xml; charset=ISO-8859-1", "ISO-8859-1"},
      {"text/xml;charset=\"windows-1251\"", "windows-1251"},
      {"text/xml; CHARSET = utf-8 ; format=flowed", "utf-8"},
      {"text/xml; format=flowed; charset=koi8-r", "koi8-r"},
      {"text/xml; charset=\" UTF-16 \"", "UTF-16"},
      {"text/xml", ""},
      {"text/xml; charset=", ""},
      // A parameter that only ends in "charset" is another parameter.
      {"text/xml; xcharset=latin1", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content_type);
    EXPECT_EQ(CharsetParameter(c.content_type), c.charset);
  }
}

TEST(NetHeaders, OnlyOneLineValuesAreSendable) {
  EXPECT_TRUE(IsSendableHeaderValue("\"v1\""));
  EXPECT_TRUE(IsSendableHeaderValue("W/\"weak\"\tand tab"));
  EXPECT_FALSE(IsSendableHeaderValue(""));
  EXPECT_FALSE(IsSendableHeaderValue("a\r\nX-Other: b"));
  EXPECT_FALSE(IsSendableHeaderValue("a\nb"));
  EXPECT_FALSE(IsSendableHeaderValue(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace tavi::platform
