#include "fetch/opml_file.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

std::string Opml(const std::string& body) {
  return "<?xml version=\"1.0\"?><opml version=\"1.0\"><head/><body>" + body + "</body></opml>";
}

TEST(OpmlFile, FeedOutlinesCarryTheirAttributesAndFolders) {
  const OpmlReadResult result = ReadOpml(
      Opml("<outline text=\"Top\" xmlUrl=\" http://a/top \"/>"
           "<outline title=\"Tech\"><outline text=\"\"><outline text=\"L &amp; W\" "
           "title=\"LWN\" xmlUrl=\"http://a/lwn\" category=\"/Work/News\"/></outline></outline>"
           "<outline text=\"After\" xmlUrl=\"http://a/after\"><outline xmlUrl=\"http://x\"/>"
           "</outline>"));
  ASSERT_TRUE(result.Read()) << result.error;
  ASSERT_EQ(result.outlines.size(), 3u);
  EXPECT_EQ(result.outlines[0].xml_url, "http://a/top");
  EXPECT_TRUE(result.outlines[0].folders.empty());
  EXPECT_EQ(result.outlines[1].text, "L & W");
  EXPECT_EQ(result.outlines[1].title, "LWN");
  EXPECT_EQ(result.outlines[1].category, "Work/News");
  // A folder with neither text nor title adds no level.
  EXPECT_EQ(result.outlines[1].folders, std::vector<std::string>{"Tech"});
  // The walk comes back out of the folders; a feed's own children are not feeds.
  EXPECT_EQ(result.outlines[2].text, "After");
  EXPECT_TRUE(result.outlines[2].folders.empty());
}

TEST(OpmlFile, DocumentsThatAreNoSubscriptionListAreErrorsWithoutOutlines) {
  const struct {
    std::string text;
    std::string error_start;
  } kCases[] = {
      {"", "not a well-formed document: Empty document"},
      {Opml("<outline xmlUrl=\"http://a\">"), "not a well-formed document"},
      {"<rss><body><outline xmlUrl=\"http://a\"/></body></rss>", "not an OPML document"},
      {"<opml><head/></opml>", "the OPML document has no \"body\""},
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.text);
    const OpmlReadResult result = ReadOpml(test.text);
    EXPECT_TRUE(result.error.starts_with(test.error_start)) << result.error;
    EXPECT_TRUE(result.outlines.empty());
  }
}

TEST(OpmlFile, DeepNestingIsReadAndTooManyFeedsAreRefused) {
  std::string nested;
  for (int level = 0; level < 1000; ++level) nested += "<outline text=\"f\">";
  nested += "<outline text=\"deep\" xmlUrl=\"http://a/deep\"/>";
  for (int level = 0; level < 1000; ++level) nested += "</outline>";
  const OpmlReadResult deep = ReadOpml(Opml(nested));
  ASSERT_TRUE(deep.Read()) << deep.error;
  ASSERT_EQ(deep.outlines.size(), 1u);
  EXPECT_EQ(deep.outlines[0].folders.size(), 1000u);

  std::string many;
  for (int i = 0; i < 10000; ++i) many += "<outline text=\"a\" xmlUrl=\"http://a/\"/>";
  const OpmlReadResult refused = ReadOpml(Opml(many));
  EXPECT_EQ(refused.error, "the document lists more than 1000 feeds; split it into smaller files");
  EXPECT_TRUE(refused.outlines.empty());
}

TEST(OpmlFile, WrittenDocumentReadsBackToTheSameFeeds) {
  const std::vector<OpmlFeed> feeds = {{"A&B", "The \"A\" <feed>", "http://a/?x=1&y=2", "In"},
                                       {"Tab", "line\nbreak\tand tab", "http://b/", "Work/News"}};
  const std::string written = WriteOpml(feeds);
  EXPECT_TRUE(
      written.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<opml version=\"2.0\">\n"));
  const OpmlReadResult result = ReadOpml(written);
  ASSERT_TRUE(result.Read()) << result.error;
  ASSERT_EQ(result.outlines.size(), feeds.size());
  for (std::size_t i = 0; i < feeds.size(); ++i) {
    SCOPED_TRACE(feeds[i].alias);
    EXPECT_EQ(result.outlines[i].text, feeds[i].alias);
    EXPECT_EQ(result.outlines[i].title, feeds[i].name);
    EXPECT_EQ(result.outlines[i].xml_url, feeds[i].url);
    EXPECT_EQ(result.outlines[i].category, feeds[i].newsbox);
  }
}

}  // namespace
}  // namespace tavi
