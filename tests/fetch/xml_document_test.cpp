#include "fetch/xml_document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tavi {
namespace {

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// The names of all elements in the order a feed walk visits them: from the
// root's first child on, into each element's children, then on to the next
// sibling up the way. The root itself is not visited.
std::vector<std::string> WalkNames(XmlDocument& document) {
  std::vector<std::string> names;
  document.ResetPosition();
  if (!document.FindChildElement()) return names;
  for (;;) {
    document.EnterElement();
    names.push_back(document.GetElementName());
    document.ResetChildPosition();
    if (document.FindChildElement()) continue;
    for (;;) {
      if (!document.LeaveElement()) return names;
      if (document.FindChildElement()) break;
    }
  }
}

TEST(XmlDocument, FreshDocumentIsTheParsedEmptyText) {
  XmlDocument document;
  EXPECT_FALSE(document.ParseSucceeded());
  EXPECT_EQ(document.ParseMessage(), "Empty document");
  EXPECT_FALSE(document.SetText(static_cast<const char*>(nullptr)));
  EXPECT_EQ(document.ParseMessage(), "Empty document");
}

struct ParseRow {
  std::string text;
  bool succeeded;
  std::string message;
};

TEST(XmlDocument, ParseReportsTheFirstProblemWithItsOffset) {
  const ParseRow rows[] = {
      {"<a/>", true, ""},
      {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- c -->\n"
       "<!DOCTYPE r [\n<!ENTITY e \"v\">\n<!ELEMENT r ANY>\n]>\n<r>x</r>\n<!-- after -->\n",
       true, ""},
      // The doctype ends at its first '>' outside the internal subset, and an
      // entity value may hold '<'.
      {"<!DOCTYPE a <b><rss/>", true, ""},
      {"<!DOCTYPE rss [<!ENTITY e \"<\">]><rss/>", true, ""},
      {"", false, "Empty document"},
      {"<?xml version=\"1.0\"?><!-- only -->", false, "No root element"},
      {"just text", false, "No root element"},
      {"<a/><b/>", false, "Root element has sibling"},
      // The scan's own message gives way to the missing root.
      {"</a>", false, "No root element"},
      {"<a>", false, "Element 'a' at offset 0 not ended"},
      // Elements left open hand their children up, so the root gets siblings.
      {"<a><b><c>", false, "Root element has sibling"},
      // The innermost element left open is named.
      {"<r><a><b></r>", false, "End tag 'r' at offset 10 does not match start tag 'b' at offset 6"},
      {"<a><b></a>", false, "End tag 'a' at offset 7 does not match start tag 'b' at offset 3"},
      {"<a></b></a>", false, "No start tag for end tag 'b' at offset 3"},
      // Only the first error is kept.
      {"<a></b></c><d></a>", false, "No start tag for end tag 'b' at offset 3"},
      {"<a>x < y</a>", false, "Incorrect tag name character at offset 5"},
      {"<a><!-x--></a>", false, "Incorrect comment tag at offset 3"},
      {"<a><![x]]></a>", false, "Incorrect tag at offset 3"},
      {"<a><!x></a>", false, "Incorrect ! tag at offset 3"},
      {"<a><!-- x", false, "Comment at offset 3 unterminated"},
      {"<a><![CDATA[x", false, "CDATA Section at offset 3 unterminated"},
      {"<a><?pi", false, "Processing instruction at offset 3 unterminated"},
      {"<a><!DOCTYPE a [<!ENTITY x 'y'>", false, "Doctype at offset 3 unterminated"},
      {"<a></a", false, "Element end tag at offset 3 unterminated"},
      {"<a><b c='>", false, "Element tag at offset 3 unterminated"},
      {"<a></a><", false, "Element tag at offset 7 unterminated"},
      // An error token cut off by the end of the text.
      {"<a>< x", false, "tag at offset 3 unterminated"},
      // A stray '<' before the root is an error even when the rest is sound.
      {"<<a/>", false, "Incorrect tag name character at offset 0"},
      // End tags match by the name rule: neither a shorter nor a longer name.
      {"<title></tit></title>", false, "No start tag for end tag 'tit' at offset 7"},
      {"<tit></title></tit>", false, "No start tag for end tag 'title' at offset 5"},
      // A '>' inside a quoted attribute value does not end the tag.
      {"<a t='>' u=\"'>\"></a>", true, ""},
      {"<a href='x'/>", true, ""},
      {"<a />", true, ""},
      // The slash of an unquoted value is the value's, so the tag stays open.
      {"<a href=x/>", false, "Element 'a' at offset 0 not ended"},
      {"<a/ >", false, "Element 'a' at offset 0 not ended"},
  };
  for (const ParseRow& row : rows) {
    SCOPED_TRACE(row.text);
    XmlDocument document;
    EXPECT_EQ(document.SetText(row.text), row.succeeded);
    EXPECT_EQ(document.ParseSucceeded(), row.succeeded);
    EXPECT_EQ(document.ParseMessage(), row.message);
  }
}

TEST(XmlDocument, UnendedElementKeepsOnlyItsStartTag) {
  XmlDocument document;
  document.SetText("<a>");
  const ElementEntry& a = document.Index()[1];
  EXPECT_EQ(a.start, 0u);
  EXPECT_EQ(a.length, 3u);
  EXPECT_EQ(HeldStartTagLength(a.tag_lengths), 3u);
  EXPECT_EQ(HeldEndTagLength(a.tag_lengths), 0u);
}

TEST(XmlDocument, MismatchedEndTagClosesTheInnerElementAsNotEnded) {
  XmlDocument document;
  document.SetText("<a><b></a>");
  const ElementIndex& index = document.Index();
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[1].length, 10u);
  EXPECT_EQ(HeldEndTagLength(index[1].tag_lengths), 4u);
  EXPECT_EQ(index[2].parent, 1u);
  EXPECT_EQ(index[2].length, 3u);
  EXPECT_EQ(index[1].first_child, 2u);
}

TEST(XmlDocument, ChildrenOfAnUnendedElementFollowItUnderItsParent) {
  XmlDocument document;
  document.SetText("<a><b><c/></a>");
  EXPECT_EQ(WalkNames(document), (std::vector<std::string>{"b", "c"}));
  document.ResetPosition();
  ASSERT_TRUE(document.FindChildElement("c"));
  EXPECT_TRUE(document.EnterElement());
  EXPECT_EQ(document.GetElementName(), "c");
  ASSERT_TRUE(document.LeaveElement());
  EXPECT_EQ(document.GetElementName(), "a");
}

TEST(XmlDocument, ElementsLeftOpenAtTheEndAllEndUpAtTheTop) {
  XmlDocument document;
  EXPECT_FALSE(document.SetText("<r><a><b/><c/>"));
  const ElementIndex& index = document.Index();
  std::vector<std::string> top;
  for (document.ResetPosition(); document.FindElement();) {
    top.push_back(document.GetElementName());
    EXPECT_FALSE(document.FindChildElement());
  }
  EXPECT_EQ(top, (std::vector<std::string>{"r", "a", "b", "c"}));
  for (std::uint32_t entry = 1; entry < index.size(); ++entry) EXPECT_EQ(index[entry].parent, 0u);
}

TEST(XmlDocument, FindElementReachesEveryTopLevelElement) {
  XmlDocument document;
  EXPECT_FALSE(document.SetText("<a/><b/><a/>"));
  EXPECT_TRUE(document.FindElement("a"));
  EXPECT_TRUE(document.FindElement("b"));
  EXPECT_TRUE(document.FindElement("a"));
  EXPECT_FALSE(document.FindElement());
  EXPECT_EQ(document.GetElementName(), "a");
}

TEST(XmlDocument, NamesMatchWholeOrBeforeADelimiter) {
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<r><tit>1</tit><titles>2</titles><title>3</title></r>"));
  const struct {
    std::string name;
    std::string text;
  } rows[] = {
      {"title", "3"},  {"tit", "1"},  {"titles", "2"}, {"title x", "3"},
      {"title=", "3"}, {"Title", ""}, {"titl", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    document.ResetPosition();
    const bool found = document.FindChildElement(row.name);
    EXPECT_EQ(found, !row.text.empty());
    EXPECT_EQ(document.GetChildText(), row.text);
  }
}

TEST(XmlDocument, CursorMovesAsTheWalkExpects) {
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<r><i><t>1</t><t>2</t></i><i/></r>"));
  EXPECT_FALSE(document.EnterElement());
  EXPECT_FALSE(document.LeaveElement());
  ASSERT_TRUE(document.FindChildElement());  // selects the root and its first child
  EXPECT_EQ(document.GetElementName(), "r");
  ASSERT_TRUE(document.EnterElement());
  EXPECT_EQ(document.GetElementName(), "i");
  EXPECT_TRUE(document.FindChildElement("t"));
  EXPECT_EQ(document.GetChildText(), "1");
  EXPECT_TRUE(document.FindChildElement("t"));
  EXPECT_EQ(document.GetChildText(), "2");
  // No wrapping around to the first child.
  EXPECT_FALSE(document.FindChildElement("t"));
  EXPECT_EQ(document.GetChildText(), "2");
  document.ResetChildPosition();
  EXPECT_TRUE(document.FindChildElement("t"));
  EXPECT_EQ(document.GetChildText(), "1");
  // Entering with a child position makes it current.
  ASSERT_TRUE(document.EnterElement());
  EXPECT_EQ(document.GetElementText(), "1");
  ASSERT_TRUE(document.LeaveElement());
  EXPECT_EQ(document.GetElementName(), "i");
  EXPECT_EQ(document.GetChildText(), "1");
  // Entering without a child position places the cursor before the first
  // child: nothing is current, and FindElement starts at the first child.
  document.ResetChildPosition();
  ASSERT_TRUE(document.EnterElement());
  EXPECT_EQ(document.GetElementName(), "");
  EXPECT_TRUE(document.FindElement());
  EXPECT_EQ(document.GetElementText(), "1");
  EXPECT_FALSE(document.FindElement("x"));
  EXPECT_EQ(document.GetElementText(), "1");
}

TEST(XmlDocument, WalkVisitsEveryElementInDocumentOrder) {
  XmlDocument document;
  ASSERT_TRUE(document.SetText(
      "<rss><channel><title>c</title><item><title>a</title><item><guid>g</guid></item></item>"
      "</channel><item/></rss>"));
  EXPECT_EQ(WalkNames(document), (std::vector<std::string>{"channel", "title", "item", "title",
                                                           "item", "guid", "item"}));
  ASSERT_TRUE(document.SetText("<r/>"));
  EXPECT_TRUE(WalkNames(document).empty());
}

struct TextRow {
  std::string xml;
  std::string text;
};

TEST(XmlDocument, ElementTextIsDecodedWithCDataKeptRaw) {
  const TextRow rows[] = {
      {"<t>x &amp; y</t>", "x & y"},
      {"<t>a&nbsp;b</t>", "a&nbsp;b"},
      {"<t>&#233;</t>", "\xC3\xA9"},
      {"<t>&#x41;</t>", "A"},
      {"<t>&#0;</t>", "&#0;"},
      {"<t>a>b</t>", "a>b"},
      // The blank between the sections is white space alone and is dropped.
      {"<t><![CDATA[<b>]]> <![CDATA[c]]></t>", "<b>c"},
      {"<t><![CDATA[&amp;]]></t>", "&amp;"},
      {"<t>a<!-- c -->b<?p?></t>", "ab"},
      // Text that starts with blanks keeps them once something else follows.
      {"<t> a <![CDATA[x]]></t>", " a x"},
      // A '>' ends a text token, so the blank after it is white space alone.
      {"<t>a> <![CDATA[c]]></t>", "a>c"},
      {"<t><![C]]></t>", ""},
      {"<t>t<e/></t>", ""},
      {"<t/>", ""},
      {"<t></t>", ""},
  };
  for (const TextRow& row : rows) {
    SCOPED_TRACE(row.xml);
    XmlDocument document;
    EXPECT_TRUE(document.SetText(row.xml));
    ASSERT_TRUE(document.FindElement());
    EXPECT_EQ(document.GetElementText(), row.text);
  }
}

TEST(XmlDocument, InnerMarkupIsTheRawContent) {
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<r><t>t<e/></t><u>&amp;</u><v/></r>"));
  ASSERT_TRUE(document.FindChildElement("t"));
  ASSERT_TRUE(document.EnterElement());
  EXPECT_EQ(document.GetElementText(), "");
  EXPECT_EQ(document.GetInnerMarkup(), "t<e/>");
  ASSERT_TRUE(document.FindElement("u"));
  EXPECT_EQ(document.GetInnerMarkup(), "&amp;");
  ASSERT_TRUE(document.FindElement("v"));
  EXPECT_EQ(document.GetInnerMarkup(), "");
  document.ResetPosition();
  EXPECT_EQ(document.GetInnerMarkup(), "");
  // An unended element has no content.
  document.SetText("<r><t>x");
  ASSERT_TRUE(document.FindElement("t"));
  EXPECT_EQ(document.GetInnerMarkup(), "");
  EXPECT_EQ(document.GetElementText(), "");
}

struct AttributeRow {
  std::string tag;
  std::string name;
  std::string value;
};

TEST(XmlDocument, AttributeValuesAreFoundByNameAndDecoded) {
  const AttributeRow rows[] = {
      {"<link href=\"u&amp;v\"/>", "href", "u&v"},
      {"<input checked/>", "checked", "checked"},
      {"<input checked type='x'/>", "checked", "checked"},
      {"<a b='1' c=\"2\"/>", "c", "2"},
      {"<a b=1 c=2></a>", "c", "2"},
      {"<a b = 'x' />", "b", "x"},
      {"<a b=''/>", "b", ""},
      {"<a b='x' b='y'/>", "b", "x"},
      {"<a b='x'/>", "c", ""},
      {"<a titles='x' title='y'/>", "title", "y"},
      {"<a title='x'/>", "tit", ""},
      {"<a title='x'/>", "title=", "x"},
      {"<a b='>' c='y'></a>", "c", "y"},
      {"<a b=\"it's\"/>", "b", "it's"},
      {"<a xml:lang='en'/>", "xml:lang", "en"},
      {"<a href=/x/y/></a>", "href", "/x/y/"},
      {"<a b='&#x1F600;'/>", "b", "\xF0\x9F\x98\x80"},
      // A slash ends the attributes.
      {"<a / b='x'></a>", "b", ""},
  };
  for (const AttributeRow& row : rows) {
    SCOPED_TRACE(row.tag + " " + row.name);
    XmlDocument document;
    document.SetText(row.tag);
    ASSERT_TRUE(document.FindElement());
    EXPECT_EQ(document.GetAttributeValue(row.name), row.value);
  }
}

TEST(XmlDocument, ChildAttributeNeedsAChildPosition) {
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<i><enclosure url='u' length='5'/></i>"));
  EXPECT_EQ(document.GetAttributeValue("url"), "");
  EXPECT_EQ(document.GetChildAttributeValue("url"), "");
  ASSERT_TRUE(document.FindChildElement("enclosure"));
  EXPECT_EQ(document.GetChildAttributeValue("url"), "u");
  EXPECT_EQ(document.GetChildAttributeValue("length"), "5");
  EXPECT_EQ(document.GetChildAttributeValue("type"), "");
}

TEST(XmlDocument, LoadFileReportsTheSizeAndKeepsTheOldTextOnFailure) {
  testing::TempDir folder;
  const struct {
    std::string bytes;
    bool succeeded;
    std::string message;
  } rows[] = {
      {"<a/>", true, "4 bytes"},
      {"<a>", false, "3 bytes, Element 'a' at offset 0 not ended"},
      {"", false, "0 bytes, Empty document"},
      {std::string("<a>\0</a>", 8), true, "8 bytes"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    testing::WriteFile(folder.Join("feed.xml"), row.bytes);
    XmlDocument document;
    EXPECT_EQ(document.LoadFile(folder.Join("feed.xml")), row.succeeded);
    EXPECT_EQ(document.ParseMessage(), row.message);
    EXPECT_EQ(document.Text(), row.bytes);
  }
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<kept/>"));
  EXPECT_FALSE(document.LoadFile(folder.Join("missing.xml")));
  EXPECT_EQ(document.ParseMessage(), "No such file or directory");
  EXPECT_FALSE(document.LoadFile(folder.path()));
  EXPECT_EQ(document.ParseMessage(), "Is a directory");
  EXPECT_EQ(document.Text(), "<kept/>");
  EXPECT_TRUE(document.FindElement("kept"));
}

TEST(XmlDocument, LoadFileParsesTheDocumentAsUtf8AndTellsItsEncoding) {
  testing::TempDir folder;
  testing::WriteFile(folder.Join("feed.xml"),
                     std::string("\xFE\xFF\0<\0a\0>\0\xE9\0<\0/\0a\0>", 18));
  XmlDocument document;
  DocumentEncoding encoding;
  EXPECT_TRUE(document.LoadFile(folder.Join("feed.xml"), "", &encoding));
  // The size is the file's, not the text's.
  EXPECT_EQ(document.ParseMessage(), "18 bytes");
  EXPECT_EQ(document.Text(), "<a>\xC3\xA9</a>");
  EXPECT_EQ(encoding.name, "UTF-16BE");
  EXPECT_EQ(encoding.source, EncodingSource::kByteOrderMark);

  testing::WriteFile(folder.Join("feed.xml"), "<a>\xE9</a>");
  EXPECT_TRUE(document.LoadFile(folder.Join("feed.xml"), "windows-1252", &encoding));
  EXPECT_EQ(document.Text(), "<a>\xC3\xA9</a>");
  EXPECT_EQ(encoding.source, EncodingSource::kCharset);
  EXPECT_FALSE(document.LoadFile(folder.Join("missing.xml"), "", &encoding));
  EXPECT_EQ(encoding.name, "windows-1252") << "left alone without a file";
}

TEST(XmlDocument, CopiesAreIndependent) {
  XmlDocument original;
  ASSERT_TRUE(original.SetText("<r><a>1</a><b>2</b></r>"));
  ASSERT_TRUE(original.FindChildElement("b"));
  XmlDocument copy = original;
  EXPECT_EQ(copy.GetChildText(), "2");
  copy.ResetChildPosition();
  ASSERT_TRUE(copy.FindChildElement());
  EXPECT_EQ(copy.GetChildText(), "1");
  EXPECT_EQ(original.GetChildText(), "2");
  original.SetText("<x/>");
  EXPECT_EQ(copy.GetChildText(), "1");
  EXPECT_EQ(copy.ParseMessage(), "");

  XmlDocument moved = std::move(copy);
  EXPECT_EQ(moved.GetChildText(), "1");
  EXPECT_EQ(copy.ParseMessage(), "Empty document");
  EXPECT_FALSE(copy.FindChildElement());
}

TEST(XmlDocument, TagsLongerThanTheirFieldsAreMeasuredAgain) {
  const std::string long_value(1 << 20, 'v');
  const std::string long_end_tag = "</a" + std::string(2000, ' ') + ">";
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<a t='" + long_value + "' u='w'>x &amp; y" + long_end_tag));
  ASSERT_TRUE(document.FindElement());
  EXPECT_EQ(HeldStartTagLength(document.Index()[1].tag_lengths), kMaxHeldStartTagLength);
  EXPECT_EQ(HeldEndTagLength(document.Index()[1].tag_lengths), kMaxHeldEndTagLength);
  EXPECT_EQ(document.GetAttributeValue("u"), "w");
  EXPECT_EQ(document.GetAttributeValue("t"), long_value);
  EXPECT_EQ(document.GetElementText(), "x & y");
  EXPECT_EQ(document.GetInnerMarkup(), "x &amp; y");
  // Before a long end tag, the last markup may be a child's.
  ASSERT_TRUE(document.SetText("<a>y<b/>x " + long_end_tag));
  ASSERT_TRUE(document.FindElement());
  EXPECT_EQ(document.GetInnerMarkup(), "y<b/>x ");
}

TEST(XmlDocument, DenseDocumentGrowsTheIndexAcrossBlocks) {
  constexpr int kElements = 1000000;  // far more than one per 64 bytes
  XmlDocument document;
  ASSERT_TRUE(document.SetText("<r>" + Repeat("<a/>", kElements - 1) + "<b>x</b></r>"));
  const ElementIndex& index = document.Index();
  ASSERT_EQ(index.size(), std::uint32_t{kElements} + 2);  // entry 0, r, the a's and b
  EXPECT_EQ(index.block_count(), 16u);
  document.ResetPosition();
  ASSERT_TRUE(document.FindChildElement("b"));
  EXPECT_EQ(document.GetChildText(), "x");
  EXPECT_EQ(index[kElements + 1].start, 3u + 4u * (kElements - 1));
  EXPECT_EQ(index[kElements + 1].parent, 1u);
}

constexpr int kDeep = 100000;

TEST(XmlDocument, DeepNestingParsesWithoutRecursion) {
  XmlDocument document;
  ASSERT_TRUE(document.SetText(Repeat("<a>", kDeep) + "x" + Repeat("</a>", kDeep)));
  EXPECT_EQ(WalkNames(document).size(), std::size_t{kDeep - 1});
  document.ResetPosition();
  while (document.FindChildElement()) document.EnterElement();
  EXPECT_EQ(document.GetElementText(), "x");
}

TEST(XmlDocument, DeepUnendedNestingBecomesAFlatList) {
  XmlDocument document;
  EXPECT_FALSE(document.SetText(Repeat("<a>", kDeep)));
  EXPECT_EQ(document.ParseMessage(), "Root element has sibling");
  int top_level = 0;
  for (document.ResetPosition(); document.FindElement();) ++top_level;
  EXPECT_EQ(top_level, kDeep);
}

TEST(XmlDocument, StrayEndTagsUnderDeepNestingStayLinear) {
  XmlDocument document;
  // Searching all open elements for each stray end tag would take 10^10 steps.
  EXPECT_FALSE(
      document.SetText(Repeat("<a>", kDeep) + Repeat("</b>", kDeep) + Repeat("</a>", kDeep)));
  EXPECT_EQ(document.ParseMessage(),
            "No start tag for end tag 'b' at offset " + std::to_string(3 * kDeep));
  // One end tag closing the outermost of many open elements.
  EXPECT_FALSE(document.SetText("<r>" + Repeat("<b>", kDeep) + "</r>"));
  EXPECT_EQ(document.ParseMessage(), "End tag 'r' at offset " + std::to_string(3 * kDeep + 4) +
                                         " does not match start tag 'b' at offset " +
                                         std::to_string(3 * kDeep));
  EXPECT_EQ(WalkNames(document).size(), std::size_t{kDeep});
}

}  // namespace
}  // namespace tavi
