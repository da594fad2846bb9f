#include "plugin/full_article_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavi {
namespace {

const std::string kHeaders = "Subject: News\r\nWebsite: http://example.test/a";

TEST(FullArticleText, TheLinkIsTheWebsiteLineOfTheHeaderBlock) {
  struct Case {
    const char* name;
    std::string raw_headers;
    std::string link;
  };
  const std::vector<Case> cases = {
      {"a plain line", kHeaders, "http://example.test/a"},
      {"letter case of the name ignored", "WEBSITE: http://x.test/", "http://x.test/"},
      {"a folded line joined", "Website: http://x.test/\r\n long", "http://x.test/ long"},
      {"no such line", "Subject: News", ""},
      {"an empty line", "Website: \r\nSubject: x", ""},
      // The blank after the colon is part of the name looked for.
      {"no blank after the colon", "Website:http://x.test/", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ArticleLinkOf(HeaderTextOf(c.raw_headers)), c.link);
  }
}

TEST(FullArticleText, MarkupTagsGoUpToAnUnendedOne) {
  struct Case {
    const char* name;
    std::string page;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"tags around text", "<p>a <b>b</b></p>", "a b"},
      {"entities stay as written", "<i>&amp;</i>", "&amp;"},
      {"script contents stay", "<script>x < 1</script>", "x "},
      {"an unended tag and what follows stay", "a<b>c<d", "ac<d"},
      {"a lone closing bracket stays", "a > b", "a > b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WithoutMarkupTags(c.page), c.text);
  }
}

TEST(FullArticleText, AsTextLinesEveryLineEndBecomesABreakAndEmptyLinesGo) {
  struct Case {
    const char* name;
    std::string page;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"two lines", "a\r\nb", "a<br>b"},
      {"an empty line between them", "a\r\n\r\nb", "ab"},
      {"blanks on the empty line", "a\r\n  \r\nb", "ab"},
      {"tags removed first", "<p>a</p>\r\n<p>b</p>", "a<br>b"},
      {"tabs removed", "\ta\tb", "ab"},
      // Pairs of blanks go, so an odd run keeps one blank.
      {"three blanks keep one", "a   b", "a b"},
      {"four blanks keep none", "a    b", "ab"},
      {"a bare line feed is no line end", "a\nb", "a\nb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PageAsTextLines(c.page), c.text);
  }
}

TEST(FullArticleText, TheWrapperIsTheOnlyPairOfHtmlTagsInEitherCase) {
  const std::string header_text = HeaderTextOf(kHeaders);
  EXPECT_EQ(FullArticleText(header_text, "<html><p>x</p></html>", false),
            header_text + "<html><p>x</p></html>");
  EXPECT_EQ(FullArticleText(header_text, "<HTML>x</HTML>", false), header_text + "<html>x</html>");
  EXPECT_EQ(FullArticleText(header_text, "<Html>x</Html>", false),
            header_text + "<html><Html>x</Html></html>");
  // As text, every tag goes, whatever its case.
  EXPECT_EQ(FullArticleText(header_text, "<Html>a\r\nb</Html>", true),
            header_text + "<html>a<br>b</html>");
}

TEST(FullArticleText, APageLineThatReadsAsASeparatorIsQuoted) {
  const std::string header_text = HeaderTextOf(kHeaders);
  EXPECT_EQ(FullArticleText(header_text, "a\r\nFrom ???@??? Sun Dec 6 2026 09:05:07\r\nb", false),
            header_text + "<html>a\r\n>From ???@??? Sun Dec 6 2026 09:05:07\r\nb</html>");
}

TEST(FullArticleText, TheViewerShowsWhatFollowsTheFirstDoubleBreak) {
  EXPECT_EQ(ViewerPageText("intro<br><br>story<br><br>end"), "<html><body>story<br><br>end");
  EXPECT_EQ(ViewerPageText("whole story"), "<html><body>whole story");
  EXPECT_EQ(ViewerPageText(""), "<html><body>");
}

}  // namespace
}  // namespace tavi
