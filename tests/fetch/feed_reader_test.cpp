#include "fetch/feed_reader.h"

#include <gtest/gtest.h>

#include "fetch/xml_base_trail.h"

namespace tavi {
namespace {

std::vector<ArticleRecord> Read(const std::string& text, FeedFormat* format = nullptr) {
  XmlDocument document;
  document.SetText(text);
  const FeedFormat detected = DetectFeedFormat(document);
  if (format != nullptr) *format = detected;
  return ReadAllArticles(document, detected);
}

TEST(FeedReader, FormatFollowsTheFirstIdentifyingElement) {
  const struct {
    const char* text;
    FeedFormat format;
  } rows[] = {
      {"<rss><channel><item><guid>g</guid><id>i</id></item></channel></rss>", FeedFormat::kRss},
      {"<feed><entry><ID>i</ID><guid>g</guid></entry></feed>", FeedFormat::kAtom},  // any case
      {"<feed><entry><title>no identifiers</title></entry></feed>", FeedFormat::kRss},
      {"<id>the root is never looked at</id>", FeedFormat::kRss},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    FeedFormat format = FeedFormat::kRss;
    Read(row.text, &format);
    EXPECT_EQ(format, row.format);
  }
}

TEST(FeedReader, RssItemFieldsComeFromTheirElements) {
  const auto articles = Read(
      "<rss><channel><title>Feed</title><item><title>T &amp; U</title><link>http://l</link>"
      "<description><![CDATA[<b>bold</b>]]></description><author>me@x</author>"
      "<pubDate>Sun, 06 Dec 2026 13:55:15 GMT</pubDate><guid>g1</guid>"
      "<enclosure url=\"http://e/a.mp3\" length=\"42\" type=\"audio/mpeg\"/>"
      "<summary>S <i>markup</i></summary><category>Tech</category>"
      "<comments>http://c</comments><source>Elsewhere</source></item>"
      "<item><title>Second</title><guid>g2</guid></item></channel></rss>");
  ASSERT_EQ(articles.size(), 2u);
  const ArticleRecord& first = articles[0];
  EXPECT_EQ(first.Title, "T & U");
  EXPECT_EQ(first.Link, "http://l");
  EXPECT_EQ(first.Description, "<b>bold</b>");
  EXPECT_EQ(first.Author, "me@x");
  EXPECT_EQ(first.Date, "Sun, 06 Dec 2026 13:55:15 GMT");  // RSS dates stay as written
  EXPECT_EQ(first.Guid, "g1");
  EXPECT_EQ(first.Enclosure, "http://e/a.mp3");
  EXPECT_EQ(first.EnclosureLength, "42");
  EXPECT_EQ(first.EnclosureType, "audio/mpeg");
  EXPECT_EQ(first.Summary, "S <i>markup</i>");  // no text of its own: the raw markup
  EXPECT_EQ(first.Category, "Tech");
  EXPECT_EQ(first.Comments, "http://c");
  EXPECT_EQ(first.Source, "Elsewhere");
  // Nothing carries over from the item before.
  EXPECT_EQ(articles[1].Author, "");
  EXPECT_EQ(articles[1].Link, "");
}

TEST(FeedReader, AtomLinksAuthorsAndDates) {
  const auto articles = Read(
      "<feed><entry><id>1</id><content src=\"http://src\">c</content>"
      "<link href=\"http://href\"/></entry>"
      "<entry><id>2</id><content src=\"http://src\">c</content></entry>"
      "<entry><id>3</id><content src=\"http://src\">c</content><link/></entry>"
      "<entry><id>4</id><author><name>Ann</name><email>a@x</email></author>"
      "<issued>2026-12-06T13:55:15Z</issued><content><p>html</p></content>"
      "<category term=\"t\">ignored</category><source>not read for Atom</source></entry>"
      "<entry><id>5</id><issued>soon</issued></entry>"
      "</feed>");
  ASSERT_EQ(articles.size(), 5u);
  EXPECT_EQ(articles[0].Link, "http://href");
  EXPECT_EQ(articles[1].Link, "http://src");
  EXPECT_EQ(articles[2].Link, "");  // an empty link replaces the content's src
  EXPECT_EQ(articles[3].Author, "Ann <a@x>");
  EXPECT_EQ(articles[3].Description, "<p>html</p>");
  EXPECT_EQ(articles[3].Category, "t");
  EXPECT_EQ(articles[3].Source, "");
  EXPECT_EQ(articles[3].Date, "Sun, Dec 06 2026 13:55:15");
  // An unreadable date is left out, so the entry is dated by the check.
  EXPECT_EQ(articles[4].Date, "");
}

TEST(FeedReader, WalkVisitsEveryElementOnceInDocumentOrder) {
  XmlDocument document;
  document.SetText("<r><a><item><b/></item><c/></a><item/><d><e/></d></r>");
  std::vector<std::string> visited;
  int items = 0;
  WalkFeed(
      document, FeedFormat::kRss, [&](ArticleRecord&) { ++items; },
      [&] { visited.push_back(document.GetElementName()); });
  EXPECT_EQ(visited, (std::vector<std::string>{"a", "item", "b", "c", "item", "d", "e"}));
  EXPECT_EQ(items, 2);
}

TEST(FeedReader, ItemsKeepTheXmlBasesInScopeAndTheirBodysOwn) {
  using Bases = std::vector<std::string>;
  const auto atom = Read(
      "<feed xml:base=\"http://h/root/\"><entry xml:base=\"e/\"><id>1</id>"
      "<content xml:base=\"c/\">x</content></entry>"
      "<group xml:base=\"/other/\"><entry><id>2</id></entry></group>"
      // The group's base went out of scope with the group.
      "<entry><id>3</id><content>y</content></entry></feed>");
  ASSERT_EQ(atom.size(), 3u);
  EXPECT_EQ(atom[0].XmlBases, (Bases{"http://h/root/", "e/"}));
  EXPECT_EQ(atom[0].BodyXmlBase, "c/");
  EXPECT_EQ(atom[1].XmlBases, (Bases{"http://h/root/", "/other/"}));
  EXPECT_EQ(atom[2].XmlBases, (Bases{"http://h/root/"}));
  EXPECT_EQ(atom[2].BodyXmlBase, "");

  const auto rss = Read(
      "<rss xml:base=\"a/\"><channel xml:base=\"b/\"><item><guid>g</guid>"
      "<description xml:base=\"d&amp;e/\">z</description></item></channel></rss>");
  ASSERT_EQ(rss.size(), 1u);
  EXPECT_EQ(rss[0].XmlBases, (Bases{"a/", "b/"}));
  EXPECT_EQ(rss[0].BodyXmlBase, "d&e/");  // decoded like every attribute value
}

TEST(FeedReader, XmlBasesInScopeAreCapped) {
  // Each item copies the values in scope: deep nesting and long values must
  // not make that copy grow without bound.
  std::string nested = "<item><guid>deep</guid></item>";
  for (std::size_t level = kMaxXmlBasesInScope + 4; level-- > 0;)
    nested = "<g xml:base=\"" + std::to_string(level) + "/\">" + nested + "</g>";
  const std::string too_long(kMaxXmlBaseLength + 1, 'x');
  const auto articles = Read("<rss><channel>" + nested + "</channel><item xml:base=\"" + too_long +
                             "\"><guid>long</guid></item></rss>");
  ASSERT_EQ(articles.size(), 2u);
  ASSERT_EQ(articles[0].XmlBases.size(), kMaxXmlBasesInScope);
  EXPECT_EQ(articles[0].XmlBases.front(), "0/");
  EXPECT_EQ(articles[0].XmlBases.back(), std::to_string(kMaxXmlBasesInScope - 1) + "/");
  EXPECT_TRUE(articles[1].XmlBases.empty());
}

}  // namespace
}  // namespace tavi
