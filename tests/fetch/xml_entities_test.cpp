#include "fetch/xml_entities.h"

#include <gtest/gtest.h>

#include <string>

#include "fetch/xml_document.h"

namespace tavi {
namespace {

struct Row {
  std::string text;
  std::string decoded;
};

TEST(XmlEntities, DecodesReferencesAndLeavesTheRestAsWritten) {
  const Row rows[] = {
      {"x &amp; y", "x & y"},
      {"&lt;&gt;&apos;&quot;&amp;", "<>'\"&"},
      {"&amp;amp;", "&amp;"},
      {"a&nbsp;b", "a&nbsp;b"},
      {"&LT;", "&LT;"},
      {"&lt", "&lt"},
      {"&", "&"},
      {"&#", "&#"},
      {"&#x", "&#x"},
      {"&#65;&#x42;", "AB"},
      {"&#233;", "\xC3\xA9"},
      {"&#x7F;", "\x7F"},
      {"&#x80;", "\xC2\x80"},
      {"&#x7FF;", "\xDF\xBF"},
      {"&#x800;", "\xE0\xA0\x80"},
      {"&#xFFFF;", "\xEF\xBF\xBF"},
      // Above 0xFFFF: four bytes of UTF-8, not a 16-bit cut.
      {"&#x1F600;", "\xF0\x9F\x98\x80"},
      {"&#128512;", "\xF0\x9F\x98\x80"},
      {"&#x10FFFF;", "\xF4\x8F\xBF\xBF"},
      // No character: left as written, like the value 0.
      {"&#0;", "&#0;"},
      {"&#;", "&#;"},
      {"&#x;", "&#x;"},
      {"&#xD800;", "&#xD800;"},
      {"&#xDFFF;", "&#xDFFF;"},
      {"&#x110000;", "&#x110000;"},
      // Only a lower-case x makes the reference hexadecimal.
      {"&#X41;", "&#X41;"},
      {"&#xa9;&#xA9;", "\xC2\xA9\xC2\xA9"},
      // The ';' must come within seven characters after the '#' (or the x).
      {"&#000065;", "A"},
      {"&#0000065;", "&#0000065;"},
      {"&#x000041;", "A"},
      {"&#65", "&#65"},
      // The value is made of the leading digits; the rest up to ';' goes.
      {"&#65z;b", "Ab"},
      {"&#z65;", "&#z65;"},
      {"", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(XmlDocument::DecodeEntities(row.text), row.decoded);
  }
}

TEST(XmlEntities, LooksNoFurtherThanTheTextGiven) {
  const std::string text = "&amp;";
  EXPECT_EQ(DecodeXmlEntities(std::string_view(text).substr(0, 4)), "&amp");
  EXPECT_EQ(DecodeXmlEntities(std::string_view("&#65;", 4)), "&#65");
}

}  // namespace
}  // namespace tavi
