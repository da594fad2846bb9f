#include "delivery/body_links.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

constexpr char kBase[] = "http://h.example/a/b.html";

std::string Resolved(std::string html, const std::string& base = kBase) {
  ResolveBodyLinks(html, base);
  return html;
}

TEST(BodyLinks, RelativeAddressesOfLinksAndImagesAreResolvedInPlace) {
  const struct {
    const char* html;
    const char* resolved;
  } rows[] = {
      {"<p>See <a href=\"c.html\">this</a>.</p>",
       "<p>See <a href=\"http://h.example/a/c.html\">this</a>.</p>"},
      {"<img src='/i.png' alt=\"x\">", "<img src='http://h.example/i.png' alt=\"x\">"},
      // An unquoted value gets quotes: the address could hold what ends it.
      {"<img src=../i.png alt=x>", "<img src=\"http://h.example/i.png\" alt=x>"},
      {"<img src=\"//cdn.example/i.png\">", "<img src=\"http://cdn.example/i.png\">"},
      // Entities are decoded before resolving and encoded again after.
      {"<a href=\"q?x=1&amp;y=2\">", "<a href=\"http://h.example/a/q?x=1&amp;y=2\">"},
      {"<A HREF = \"c\" >", "<A HREF = \"http://h.example/a/c\" >"},
      {"<video poster=\"p.jpg\" src=\"v.mp4\"></video>",
       "<video poster=\"http://h.example/a/p.jpg\" src=\"http://h.example/a/v.mp4\"></video>"},
      {"<blockquote cite=\"/q\"><form action=\"f\">",
       "<blockquote cite=\"http://h.example/q\"><form action=\"http://h.example/a/f\">"},
      {"<img srcset=\"s.png 1x,  /l.png 2x\">",
       "<img srcset=\"http://h.example/a/s.png 1x,  http://h.example/l.png 2x\">"},
      // A comma inside an address does not end it; commas at its end do.
      {"<img srcset=\"w_1,h_2.png,,http://x.example/y.png\">",
       "<img srcset=\"http://h.example/a/w_1,h_2.png,,http://x.example/y.png\">"},
      // Written so that a quick look could miss them.
      {"<a title=\"t\"href=\"c\">", "<a title=\"t\"href=\"http://h.example/a/c\">"},
      {"<a href=\"&#x2F;x\">", "<a href=\"http://h.example/x\">"},
      {"<a cite=&amp;b=2>", "<a cite=\"http://h.example/a/&amp;b=2\">"},
      {"<a href=\"  x?y=1&amp;z=2\">", "<a href=\"http://h.example/a/x?y=1&amp;z=2\">"},
      {"<img srcset=\"http://x.example/a.png?w=1 1x, b.png?w=2 2x\">",
       "<img srcset=\"http://x.example/a.png?w=1 1x, http://h.example/a/b.png?w=2 2x\">"},
      {"<svg><a xlink:href=\"s\">x</a></svg>",
       "<svg><a xlink:href=\"http://h.example/a/s\">x</a></svg>"},
      {"<svg><a href=\"s\"><image href=\"i.svg\"/></a></svg>",
       "<svg><a href=\"http://h.example/a/s\"><image "
       "href=\"http://h.example/a/i.svg\"/></a></svg>"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.html);
    EXPECT_EQ(Resolved(row.html), row.resolved);
  }
}

TEST(BodyLinks, BodiesWhoseLinksNeedNothingKeepEveryByte) {
  const char* bodies[] = {
      "plain text, no markup at all: href=\"c.html\"",
      "<a  href = \"http://x.example/a?b=1&amp;c\"  >odd spacing, absolute</a>",
      "<a href=\"#top\">up</a><a href=\"mailto:a@b.example\">mail</a>",
      "<img src=\"data:image/png;base64,iVBORw0KGgo=\"><a href=\"javascript:void(0)\">",
      "<a href>no value</a><a href=\"\">empty</a><a title=\"c.html\" data-src=\"c\">",
      // Markup written as text, in a comment, in script or in a text area.
      "&lt;a href=&quot;c.html&quot;&gt;",
      "<!-- <a href=\"c.html\"> -->",
      "<script>var s = '<img src=\"c.png\">';</script>",
      "<textarea><a href=\"c.html\"></textarea>",
      // An unended tag at the end is no tag.
      "<p>cut short <a href=\"c.html",
      "\xFF\xFE<b>not UTF-8 \xE9</b>",
  };
  for (const char* body : bodies) {
    SCOPED_TRACE(body);
    EXPECT_EQ(Resolved(body), body);
  }
  // Without a base nothing can be resolved.
  EXPECT_EQ(Resolved("<a href=\"c.html\">", ""), "<a href=\"c.html\">");
}

TEST(BodyLinks, HostileMarkupIsReadSafely) {
  // The parser opens the <b> again in the second paragraph with the same
  // attribute: its value is still replaced only once.
  EXPECT_EQ(Resolved("<p><b background=\"r\">one<p>two"),
            "<p><b background=\"http://h.example/a/r\">one<p>two");
  // The parts of a srcset that stay are written back from their decoded
  // text: a control character must come back as the reference it was, or
  // the next reading would see another address.
  EXPECT_EQ(Resolved("<img srcset=\"a.png 1x, &#4;b 2x\">"),
            "<img srcset=\"http://h.example/a/a.png 1x, &#4;b 2x\">");
  // What resolving adds to an address cannot end the value it goes into.
  EXPECT_EQ(Resolved("<a href='it&#39;s'>"), "<a href='http://h.example/a/it&#39;s'>");
  std::string deep;
  for (int level = 0; level < 100000; ++level) deep += "<span>";
  EXPECT_EQ(Resolved(deep + "<a href=\"c\">"), deep + "<a href=\"http://h.example/a/c\">");
}

}  // namespace
}  // namespace tavi
