#include "platform/html_text.h"

#include <gtest/gtest.h>

namespace tavi::platform {
namespace {

struct TextCase {
  const char* why;
  std::string html;
  std::string text;
};

void ExpectTexts(const std::vector<TextCase>& cases) {
  for (const TextCase& test : cases) {
    SCOPED_TRACE(test.why);
    EXPECT_EQ(HtmlToText(test.html, nullptr), test.text);
  }
}

TEST(HtmlToText, BlocksStartLinesAndParagraphsStandApart) {
  ExpectTexts({
      {"inline markup flows", "<p>Hello <b>bold</b> <i>world</i>!</p>", "Hello bold world!\n"},
      {"paragraphs", "<p>One</p><p>Two</p>", "One\n\nTwo\n"},
      {"headings", "<h1>Title</h1>Body<h2>Part</h2>More", "Title\n\nBody\n\nPart\n\nMore\n"},
      {"divs start lines only", "<div>One</div><div>Two</div>Three", "One\nTwo\nThree\n"},
      {"br", "one<br>two<br/>three", "one\ntwo\nthree\n"},
      // Empty paragraphs and repeated breaks leave one blank line at most.
      {"blank lines collapse", "a<br><br><br><br>b<p></p><p></p><p>c</p>", "a\n\nb\n\nc\n"},
      {"no blank line at the edges", "<p></p><br><p>only</p><br><br>", "only\n"},
      {"white space collapses", "  lots \t of\r\n\n   spaces  ", "lots of spaces\n"},
      {"white space between blocks", "<div>\n  <p>\n    a\n  </p>\n</div>\n", "a\n"},
      {"table rows are lines",
       "<table><tr><th>h1</th><th>h2</th></tr><tr><td>a</td><td>b</td></tr>"
       "</table>after",
       "h1 h2\na b\n\nafter\n"},
      {"preformatted text keeps its lines", "<p>code:</p><pre>  int x;\n\n\n    return x;</pre>end",
       "code:\n\n  int x;\n\n    return x;\n\nend\n"},
      {"block quote", "said<blockquote>quoted</blockquote>back", "said\n\nquoted\n\nback\n"},
      {"nothing visible", "<p> </p><div></div>", ""},
      {"empty", "", ""},
  });
}

TEST(HtmlToText, ListItemsAreMarkedAndIndentedByNesting) {
  ExpectTexts({
      {"flat", "<ul><li>One</li><li>Two</li></ul>", "- One\n- Two\n"},
      {"ordered lists are marked the same", "<ol><li>First</li></ol>", "- First\n"},
      {"nested",
       "<p>Before</p><ul><li>One<ul><li>One.a</li><li>One.b<ol><li>deep</li></ol></li></ul></li>"
       "<li>Two</li></ul><p>After</p>",
       "Before\n\n- One\n  - One.a\n  - One.b\n    - deep\n- Two\n\nAfter\n"},
      {"an empty item leaves no marker", "<ul><li></li><li>Two</li></ul>tail", "- Two\n\ntail\n"},
      {"items without their end tags", "<ul><li>a<li>b</ul>", "- a\n- b\n"},
  });
}

TEST(HtmlToText, EntitiesAreDecodedAndHiddenContentsDropped) {
  ExpectTexts({
      {"named and numeric references", "Caf&eacute; &amp; &lt;b&gt; &#x263A; &#8364; &quot;q&quot;",
       "Caf\xc3\xa9 & <b> \xe2\x98\xba \xe2\x82\xac \"q\"\n"},
      // A no-break space is not white space to collapse.
      {"nbsp", "a&nbsp;&nbsp;b",
       "a\xc2\xa0\xc2\xa0"
       "b\n"},
      {"an unknown reference stays", "&bogus; &amp", "&bogus; &\n"},
      {"head, script and style",
       "<html><head><title>T</title><style>p{color:red}</style></head><body>"
       "<script>alert('x')</script>Text<style>b{}</style><template><p>t</p></template>"
       "</body></html>",
       "Text\n"},
      {"comments", "a<!-- hidden -->b", "ab\n"},
      {"an image shows its alt text", "see <img src=\"x.png\" alt=\"a cat\"> here",
       "see a cat here\n"},
  });
}

TEST(HtmlToText, BrokenMarkupReadsAsABrowserReadsIt) {
  ExpectTexts({
      {"unclosed elements", "<p>one <b>bold <i>both</p>after", "one bold both\n\nafter\n"},
      {"stray end tags", "</div>a</p>b</li>", "a\n\nb\n"},
      {"a paragraph ends at a block", "<p>one<div>two</div>", "one\n\ntwo\n"},
      {"an unended tag", "text <b", "text\n"},
      {"an unended comment", "text <!-- never", "text\n"},
      {"an unended script hides the rest", "a<script>b", "a\n"},
      {"a raw NUL is dropped", std::string("a\0b", 3), "ab\n"},
  });
}

TEST(HtmlToText, DeeplyNestedMarkupDoesNotExhaustTheStack) {
  std::string html;
  for (int i = 0; i < 100000; ++i) html += "<span>";
  html += "deep";
  EXPECT_EQ(HtmlToText(html, nullptr), "deep\n");
}

TEST(HtmlToText, LinksAreNumberedInTheTextAndListed) {
  std::vector<std::string> links = {"left from before"};
  const std::string text = HtmlToText(
      "<p>See <a href=\"https://x.example/1\">one</a> and <a href=' https://x.example/2 '>two</a>,"
      " <a href=\"https://x.example/1\">one again</a>, <a href=\"#top\">top</a>,"
      " <a href=\"JavaScript:go()\">script</a>, <a>no address</a>,"
      " <a href=\"/relative?a=1&amp;b=2\"><img alt=\"pic\"></a></p>",
      &links);
  EXPECT_EQ(text, "See one[1] and two[2], one again[1], top, script, no address, pic[3]\n");
  EXPECT_EQ(links, (std::vector<std::string>{"https://x.example/1", "https://x.example/2",
                                             "/relative?a=1&b=2"}));
  EXPECT_EQ(LinkListText(links),
            "[1] https://x.example/1\n[2] https://x.example/2\n[3] /relative?a=1&b=2\n");
  EXPECT_EQ(LinkListText({}), "");
}

TEST(HtmlToText, HiddenLinkNumbersLeaveTheTextAsItReadsAndStillListTheLinks) {
  std::vector<std::string> links;
  EXPECT_EQ(
      HtmlToText("<p><a href=x>one</a> and <a href=y>two</a>[3]</p>", &links, LinkNumbers::kHidden),
      "one and two[3]\n");
  EXPECT_EQ(links, (std::vector<std::string>{"x", "y"}));
}

}  // namespace
}  // namespace tavi::platform
