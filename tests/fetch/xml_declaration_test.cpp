#include "fetch/xml_declaration.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi {
namespace {

TEST(XmlDeclaration, FindsTheEncodingValueOnlyInTheDeclaration) {
  const struct {
    const char* text;
    const char* encoding;
  } rows[] = {
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss/>", "ISO-8859-1"},
      {"<?xml version='1.0' encoding='koi8-r' standalone='yes'?>", "koi8-r"},
      {"\r\n  <?xml version=\"1.0\" encoding = \"windows-1251\" ?>", "windows-1251"},
      {"<?xml\tencoding=\"a'b\"?>", "a'b"},  // the other quote belongs to the value
      {"<?xml version=\"1.0\"?><rss encoding=\"x\"/>", ""},
      {"<?xml version=\"1.0\" myencoding=\"x\" encodings=\"y\"?>", ""},
      {"<?xml-stylesheet encoding=\"x\"?>", ""},
      {"<rss><?xml version=\"1.0\" encoding=\"x\"?></rss>", ""},
      {"<?xml version=\"1.0\" encoding=\"x", ""},      // never ended
      {"<?xml version=\"1.0\" encoding=\"x?>\"", ""},  // the quote outlives the declaration
      {"<?xml version=\"1.0\" encoding=x?>", ""},
      {"<?xml version=\"1.0\" encoding=?>", ""},
      {"<?xml version=\"1.0\" encoding?>", ""},
      {"<?xml encoding=\"\"?>", ""},
      {"", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(DeclaredEncoding(row.text), row.encoding);
  }
}

}  // namespace
}  // namespace tavi
