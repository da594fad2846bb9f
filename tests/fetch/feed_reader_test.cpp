#include "fetch/feed_reader.h"

#include <gtest/gtest.h>

#include "fetch/xml_base_trail.h"
#include "support/test_seams.h"

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
  const testing::ScopedTimeZone utc("UTC0");
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

// This program runs in the machine's zone; the dates below carry their own.
TEST(FeedReader, AtomEntryTakesTheFirstDateThatReads) {
  const testing::ScopedTimeZone utc("UTC0");
  const struct {
    const char* elements;
    const char* date;
  } rows[] = {
      {"<published>2026-12-07T10:00:00+02:00</published>"
       "<updated>2026-12-08T10:00:00Z</updated>",
       "Mon, Dec 07 2026 08:00:00"},
      {"<updated>2026-12-08T10:00:00Z</updated><modified>2026-12-09T10:00:00Z</modified>",
       "Tue, Dec 08 2026 10:00:00"},
      {"<modified>2026-12-09T10:00:00Z</modified>", "Wed, Dec 09 2026 10:00:00"},
      // "issued" comes first wherever it stands.
      {"<modified>2026-12-09T10:00:00Z</modified><published>2026-12-07T10:00:00Z</published>"
       "<issued>2026-12-06T10:00:00Z</issued>",
       "Sun, Dec 06 2026 10:00:00"},
      // One that does not read gives way to the next.
      {"<issued>soon</issued><published></published><updated>2026-12-08T10:00:00Z</updated>",
       "Tue, Dec 08 2026 10:00:00"},
      {"<issued>soon</issued><published>later</published>", ""},
      {"", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.elements);
    const auto articles =
        Read(std::string("<feed><entry><id>1</id>") + row.elements + "</entry></feed>");
    ASSERT_EQ(articles.size(), 1u);
    EXPECT_EQ(articles[0].Date, row.date);
  }
}

TEST(FeedReader, AtomAlternateLinkIsThePageWhateverTheOrder) {
  const struct {
    const char* links;
    const char* link;
  } rows[] = {
      {"<link rel=\"self\" href=\"http://self\"/><link rel=\"replies\" href=\"http://re\"/>"
       "<link rel=\"enclosure\" href=\"http://e.mp3\"/><link rel=\"alternate\" href=\"http://a\"/>",
       "http://a"},
      {"<link rel=\"self\" href=\"http://self\"/><link href=\"http://no-rel\"/>"
       "<link rel=\"alternate\" href=\"http://a\"/>",
       "http://no-rel"},
      {"<link rel=\"ALTERNATE\" href=\"http://a\"/>", "http://a"},
      // Without an alternate link another one serves, but never the enclosure.
      {"<link rel=\"enclosure\" href=\"http://e.mp3\"/><link rel=\"self\" href=\"http://self\"/>",
       "http://self"},
      {"<link rel=\"enclosure\" href=\"http://e.mp3\"/>", "http://src"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.links);
    const auto articles =
        Read(std::string("<feed><entry><id>1</id>") + "<content src=\"http://src\">c</content>" +
             row.links + "</entry></feed>");
    ASSERT_EQ(articles.size(), 1u);
    EXPECT_EQ(articles[0].Link, row.link);
  }
}

TEST(FeedReader, AtomEnclosureLinkFillsOnlyAMissingEnclosure) {
  const auto articles = Read(
      "<feed><entry><id>1</id><link rel=\"enclosure\"/>"
      "<link rel=\"enclosure\" href=\"http://e/1.mp3\" length=\"42\" type=\"audio/mpeg\"/>"
      "<link rel=\"enclosure\" href=\"http://e/2.ogg\" length=\"7\" type=\"audio/ogg\"/></entry>"
      "<entry><id>2</id><enclosure url=\"http://e/own.mp3\" length=\"1\" type=\"audio/x\"/>"
      "<link rel=\"enclosure\" href=\"http://e/1.mp3\" length=\"42\" type=\"audio/mpeg\"/>"
      "</entry></feed>");
  ASSERT_EQ(articles.size(), 2u);
  EXPECT_EQ(articles[0].Enclosure, "http://e/1.mp3");
  EXPECT_EQ(articles[0].EnclosureLength, "42");
  EXPECT_EQ(articles[0].EnclosureType, "audio/mpeg");
  EXPECT_EQ(articles[0].Link, "");
  EXPECT_EQ(articles[1].Enclosure, "http://e/own.mp3");
  EXPECT_EQ(articles[1].EnclosureLength, "1");
  EXPECT_EQ(articles[1].EnclosureType, "audio/x");
}

TEST(FeedReader, AtomSummaryIsTheBodyOnlyWithoutContent) {
  const auto articles = Read(
      "<feed><entry><id>1</id><summary type=\"html\">&lt;p&gt;Short&lt;/p&gt;</summary></entry>"
      "<entry><id>2</id><summary>Short</summary><content>Long</content></entry>"
      "<entry><id>3</id><content src=\"http://src\"/><summary><div>Markup</div></summary>"
      "</entry></feed>");
  ASSERT_EQ(articles.size(), 3u);
  EXPECT_EQ(articles[0].Description, "<p>Short</p>");
  EXPECT_EQ(articles[1].Description, "Long");
  EXPECT_EQ(articles[2].Description, "<div>Markup</div>");
  // RSS keeps an item without a description empty.
  const auto items =
      Read("<rss><channel><item><guid>g</guid><summary>S</summary></item></channel></rss>");
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].Description, "");
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
