#include "web/browser_page_rewriter.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

constexpr const char* kLocation = "http://feeds.example/news/today.html?x=1";
const BrowserLinkRoute kRoute{42, "k3y"};

// The body of `html` as rewritten: the page's head and body tags are fixed.
std::string RewrittenBody(const std::string& html) {
  const std::string page = RewriteBrowserPage("<body>" + html, kLocation, kRoute);
  const std::string start = "<html><head></head><body>";
  const std::string end = "</body></html>";
  EXPECT_TRUE(page.starts_with(start) && page.ends_with(end)) << page;
  return page.substr(start.size(), page.size() - start.size() - end.size());
}

// The href of a rewritten link, as written in an attribute (& escaped).
std::string LinkTo(const std::string& encoded_address, bool new_window = false) {
  return "/window-link/42?key=k3y&amp;to=" + encoded_address +
         "&amp;new=" + (new_window ? "1" : "0");
}

TEST(BrowserPageRewriter, LinksResolveAgainstTheLocationAndLeadToTheLinkRoute) {
  struct Case {
    const char* html;
    std::string rewritten;
  };
  const Case cases[] = {
      {"<a href='/a?b=1&c'>x</a>",
       "<a href=\"" + LinkTo("http%3A%2F%2Ffeeds.example%2Fa%3Fb%3D1%26c") + "\">x</a>"},
      {"<a href=' ../up '>x</a>",
       "<a href=\"" + LinkTo("http%3A%2F%2Ffeeds.example%2Fup") + "\">x</a>"},
      {"<a href='https://other.example/p' target=_blank>x</a>",
       "<a href=\"" + LinkTo("https%3A%2F%2Fother.example%2Fp", true) + "\">x</a>"},
      // A named frame is another window; _top and _self are this one.
      {"<a href='p' target=side>x</a>",
       "<a href=\"" + LinkTo("http%3A%2F%2Ffeeds.example%2Fnews%2Fp", true) + "\">x</a>"},
      {"<a href='p' TARGET=_Top>x</a>",
       "<a href=\"" + LinkTo("http%3A%2F%2Ffeeds.example%2Fnews%2Fp") + "\">x</a>"},
      // The route's href comes after the link's other attributes.
      {"<map><area href='//cdn.example/q' alt=q></map>",
       "<map><area alt=\"q\" href=\"" + LinkTo("http%3A%2F%2Fcdn.example%2Fq") + "\"></map>"},
      // A place in the page stays; links that lead nowhere on the web go.
      {"<a href=' #top ' target=_blank>x</a>", "<a href=\"#top\">x</a>"},
      {"<a href='mailto:a@b.example'>x</a>", "<a>x</a>"},
      {"<a href='file:///etc/passwd'>x</a>", "<a>x</a>"},
      {"<a href='ftp://files.example/f'>x</a>", "<a>x</a>"},
      {"<a href=' JaVa&#x09;Script:alert(1)'>x</a>", "<a>x</a>"},
      {"<a>no href</a>", "<a>no href</a>"},
      // An SVG link by either name, and animations that could change it later.
      {"<svg><a xlink:href='http://evil.example/'><animate attributeName=href "
       "values='http://evil.example/'/><set attributeName=href to=x />s</a></svg>",
       "<svg><a href=\"" + LinkTo("http%3A%2F%2Fevil.example%2F") + "\">s</a></svg>"},
      {"<svg><a href='#in' xlink:href='http://evil.example/'>s</a></svg>",
       "<svg><a href=\"#in\">s</a></svg>"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.html);
    EXPECT_EQ(RewrittenBody(test.html), test.rewritten);
  }
}

TEST(BrowserPageRewriter, ImagesKeepOnlyAbsoluteWebSources) {
  struct Case {
    const char* html;
    const char* rewritten;
  };
  const Case cases[] = {
      {"<img src='i.png' alt=a>", "<img src=\"http://feeds.example/news/i.png\" alt=\"a\">"},
      {"<img src='https://cdn.example/i.png' srcset='x.png 2x'>",
       "<img src=\"https://cdn.example/i.png\">"},
      {"<img src='file:///c/i.png'>", "<img>"},
      {"<img src='javascript:alert(1)'>", "<img>"},
      {"<img src='data:image/png;base64,AAAA'>", "<img>"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.html);
    EXPECT_EQ(RewrittenBody(test.html), test.rewritten);
  }
}

TEST(BrowserPageRewriter, NothingThatCouldActOnItsOwnIsLeft) {
  struct Case {
    const char* html;
    const char* rewritten;
  };
  const Case cases[] = {
      {"<p onclick=alert(1) ONMOUSEOVER='x'>t</p>", "<p>t</p>"},
      {"a<script>document.title='owned'</script>b", "ab"},
      {"<svg><script>alert(1)</script><a xlink:href='javascript:alert(1)'>s</a></svg>",
       "<svg><a>s</a></svg>"},
      {"<noscript><p>n</p></noscript>c", "c"},
      {"<iframe src='http://evil.example/'></iframe><object data=x></object><embed src=y>", ""},
      {"<form action='http://evil.example/'><input name=q><button>Go</button></form>",
       "<input name=\"q\"><button>Go</button>"},
      {"<div style='color: red' data-x='javascript:void(0)'>d</div>",
       "<div style=\"color: red\">d</div>"},
      // Markup hidden in text and attributes stays text.
      {"<p title='&quot;><script>x</script>'>&lt;script&gt;</p>",
       "<p title=\"&quot;&gt;&lt;script&gt;x&lt;/script&gt;\">&lt;script&gt;</p>"},
      {"<style>p { color: blue }</style>", "<style>p { color: blue }</style>"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.html);
    EXPECT_EQ(RewrittenBody(test.html), test.rewritten);
  }
}

TEST(BrowserPageRewriter, TheHeadLosesRefreshesAndBasesButKeepsTheRest) {
  const std::string page = RewriteBrowserPage(
      "<!doctype html><html><head><meta charset=utf-8><meta http-equiv=Refresh "
      "content='0;url=http://evil.example/'><base href='http://evil.example/'>"
      "<title>T</title></head><frameset><frame src=f></frameset></html>",
      kLocation, kRoute);
  EXPECT_EQ(page,
            "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>T</title></head></html>");
}

}  // namespace
}  // namespace tavi::web
