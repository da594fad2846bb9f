#include "platform/html_document.h"

#include <gtest/gtest.h>

namespace tavi::platform {
namespace {

TEST(HtmlDocument, BodyInnerHtmlWritesBackWhatParsesIntoTheSameTree) {
  struct Case {
    const char* body;
    const char* inner_html;
  };
  const Case cases[] = {
      {"<p>a &amp; b &lt; c</p>", "<p>a &amp; b &lt; c</p>"},
      {"<p>1 < 2 > 0 &nbsp;x", "<p>1 &lt; 2 &gt; 0 &nbsp;x</p>"},
      // Attribute values are quoted whatever quotes they had; < and > in them
      // are escaped too, so no reader can take them for a tag.
      {"<a title='say \"hi\" <b>' href=x&y>t</a>",
       "<a title=\"say &quot;hi&quot; &lt;b&gt;\" href=\"x&amp;y\">t</a>"},
      // Void elements have no end tag; a stray end tag is gone.
      {"<br></br><img src=a.png><hr/>", "<br><br><img src=\"a.png\"><hr>"},
      // Raw text stays as it is, or it would read back differently.
      {"<script>if (a < b && c) x = '</p>';</script>",
       "<script>if (a < b && c) x = '</p>';</script>"},
      {"<style>p > a { color: red }</style>", "<style>p > a { color: red }</style>"},
      // Markup hiding in a comment or a title attribute stays inert.
      {"<!-- <script>x</script> -->", "<!-- <script>x</script> -->"},
      {"<img src=x onerror=alert(1)//>", "<img src=\"x\" onerror=\"alert(1)//\">"},
      {"<svg><foreignObject><p>x</p></foreignObject></svg>",
       "<svg><foreignObject><p>x</p></foreignObject></svg>"},
      {"<b><i>mis</b>nested</i>", "<b><i>mis</i></b><i>nested</i>"},
      {"<my-tag Data-X=1>c</my-tag>", "<my-tag data-x=\"1\">c</my-tag>"},
      // A name with bytes beyond ASCII still ends at the blank before its
      // attributes.
      {"<b\xB6\xB6ody onload=x>c", "<b\xB6\xB6ody onload=\"x\">c</b\xB6\xB6ody>"},
      // An attribute name that would read back as another attribute.
      {"<p a'b<c=1 d=2>x", "<p d=\"2\">x</p>"},
      {"<table><td>cell</table>", "<table><tbody><tr><td>cell</td></tr></tbody></table>"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.body);
    const std::string document = std::string("<html><body>") + test.body;
    EXPECT_EQ(BodyInnerHtml(document), test.inner_html);
    // What is written reads back to itself.
    EXPECT_EQ(BodyInnerHtml(std::string("<body>") + test.inner_html), test.inner_html);
  }
}

TEST(HtmlDocument, ADocumentWithoutBodyMarkupStillHasABody) {
  EXPECT_EQ(BodyInnerHtml(""), "");
  EXPECT_EQ(BodyInnerHtml("just text"), "just text");
  EXPECT_EQ(BodyInnerHtml("<frameset><frame src=a></frameset>"), "");
}

TEST(HtmlDocument, NestingOfAnyDepthIsWritten) {
  std::string deep;
  for (int level = 0; level < 100000; ++level) deep += "<span>";
  const std::string inner = BodyInnerHtml(deep + "x");
  EXPECT_EQ(inner.size(), 100000 * (6 + 7) + 1);
}

TEST(HtmlDocument, ReplacingTheBodyKeepsTheDoctypeHeadAndAttributes) {
  const std::string document =
      "<!DOCTYPE html><html lang=en><head><title>T</title><style>b{}</style></head>"
      "<body class=c><p>old</p></body></html><!-- after -->";
  EXPECT_EQ(WithBodyInnerHtml(document, "<p>new</p></body><p>more"),
            "<!DOCTYPE html><html lang=\"en\"><head><title>T</title><style>b{}</style></head>"
            "<body class=\"c\"><p>new</p><p>more</p></body></html><!-- after -->");
  EXPECT_EQ(WithBodyInnerHtml("", "x"), "<html><head></head><body>x</body></html>");
}

}  // namespace
}  // namespace tavi::platform
