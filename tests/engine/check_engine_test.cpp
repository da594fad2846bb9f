#include "engine/check_engine.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

#include "delivery/host_automation.h"
#include "delivery/staging_lease.h"
#include "engine/download_run.h"
#include "fetch/downloader.h"
#include "host/host.h"
#include "platform/fs.h"
#include "store/feed_definitions.h"
#include "store/pacing.h"
#include "store/profile.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

#include "engine/check_engine_fixture.h"

namespace tavi {
namespace {

using ::tavi::testing::LoopbackServer;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

TEST_F(CheckEngineTest, UnchangedFeedDeliversItsArticlesOnce) {
  server_.Serve("/feed.xml",
                RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT") +
                        RssItem("b", "Fri, 11 Dec 2026 09:30:00 GMT")),
                "application/rss+xml");
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 2);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_NE(delivered[0].find("Message-Id: <b@localhost.localdomain>"), std::string::npos);
  EXPECT_NE(delivered[1].find("Message-Id: <a@localhost.localdomain>"), std::string::npos);
  EXPECT_EQ(LastArticle(), "12/11/2026 09:30:00");
  EXPECT_FALSE(platform::GetFileAttributes(FeedFile()));
  EXPECT_TRUE(Messages("Pending").empty());

  EXPECT_EQ(Check(run), 0);
  EXPECT_EQ(Messages("News").size(), 2u);
  EXPECT_EQ(LastArticle(), "12/11/2026 09:30:00");
  EXPECT_EQ(run.TotalNewArticles(), 2);
}

TEST_F(CheckEngineTest, AtomEntriesAreReadWithTheirOwnVocabulary) {
  server_.Serve("/feed.xml",
                "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Atom</title>"
                "<entry><title>One</title><id>urn:1</id><issued>2026-12-11T08:00:00Z</issued>"
                "<link href=\"http://example.com/1\"/><content src=\"http://example.com/src\">"
                "Body</content><author><name>Ann</name><email>ann@example.com</email></author>"
                "<category term=\"tech\"/></entry>"
                "<entry><title>Two</title><id>urn:2</id><content src=\"http://example.com/2\">"
                "Body 2</content><author><email>bob@example.com</email></author></entry>"
                "</feed>");
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 2);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 2u);
  const std::string& one = delivered[1];
  EXPECT_NE(one.find("From: Ann <ann@example.com>\r\n"), std::string::npos) << one;
  EXPECT_NE(one.find("Website: http://example.com/1\r\n"), std::string::npos);
  EXPECT_NE(one.find("Category: tech\r\n"), std::string::npos);
  const std::string& two = delivered[0];
  EXPECT_NE(two.find("From: <bob@example.com>\r\n"), std::string::npos) << two;
  EXPECT_NE(two.find("Website: http://example.com/2\r\n"), std::string::npos);
}

std::string AtomEntry(const std::string& id, const std::string& dates) {
  return "<entry><title>Entry " + id + "</title><id>" + id + "</id>" + dates +
         "<link rel=\"self\" href=\"http://example.com/self/" + id +
         "\"/>"
         "<link rel=\"alternate\" href=\"http://example.com/" +
         id +
         "\"/>"
         "<summary>Summary of " +
         id + "</summary></entry>";
}

std::string AtomFeed(const std::string& entries) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><feed xmlns=\"http://www.w3.org/2005/Atom\">"
         "<title>Atom</title><id>urn:feed</id>" +
         entries + "</feed>";
}

// Entries dated in their publishers' zones are dated, and kept in order, in
// the local time of the check (UTC here).
TEST_F(CheckEngineTest, AtomOneEntriesAreDatedInLocalTime) {
  feed_.DownloadOnlyNewArticles = 1;
  // "a" was published half an hour before "b", though its clock time is later.
  const std::string first = AtomEntry("a",
                                      "<published>2026-12-07T10:00:00+02:00</published>"
                                      "<updated>2026-12-09T00:00:00Z</updated>") +
                            AtomEntry("b", "<updated>2026-12-07T09:30:00+01:00</updated>") +
                            AtomEntry("undated", "");
  server_.Serve("/feed.xml", AtomFeed(first), "application/atom+xml");
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 3);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 3u);
  const auto header_of = [&](const std::string& id) {
    for (const std::string& message : delivered)
      if (message.find("Message-Id: <" + id + "@") != std::string::npos) return message;
    return std::string();
  };
  EXPECT_NE(header_of("a").find("Date: Mon, Dec 07 2026 08:00:00\r\n"), std::string::npos)
      << header_of("a");
  EXPECT_NE(header_of("a").find("Website: http://example.com/a\r\n"), std::string::npos);
  EXPECT_NE(header_of("a").find("<x-html>Summary of a</x-html>"), std::string::npos);
  EXPECT_NE(header_of("b").find("Date: Mon, Dec 07 2026 08:30:00\r\n"), std::string::npos)
      << header_of("b");
  EXPECT_NE(header_of("undated").find("Date: Sat, Dec 12 2026 12:00:00\r\n"), std::string::npos);
  EXPECT_EQ(LastArticle(), "12/07/2026 08:30:00");

  // Fifteen minutes after "b": new, though its clock time is before "a"'s.
  server_.Serve(
      "/feed.xml",
      AtomFeed(AtomEntry("c", "<published>2026-12-07T09:45:00+01:00</published>") +
               AtomEntry("stale", "<published>2026-12-07T08:20:00Z</published>") + first));
  EXPECT_EQ(Check(run), 1);
  const auto now_delivered = Messages("News");
  ASSERT_EQ(now_delivered.size(), 4u);
  EXPECT_EQ(std::count_if(now_delivered.begin(), now_delivered.end(),
                          [](const std::string& message) {
                            return message.find("Message-Id: <c@") != std::string::npos;
                          }),
            1);
  EXPECT_EQ(LastArticle(), "12/07/2026 08:45:00");
}

TEST_F(CheckEngineTest, FirstIdentifierDecidesTheFormatAndNestedItemsCount) {
  // "guid" comes first, so the document is RSS although it holds "id" too;
  // the item nested inside another item is still read.
  server_.Serve("/feed.xml",
                "<rss><channel><item><title>Outer</title><guid>outer</guid><id>x</id>"
                "<item><title>Inner</title><guid>inner</guid></item></item></channel></rss>");
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 2);
}

// Feeds in the encodings publishers use arrive in the newsbox as UTF-8.
TEST_F(CheckEngineTest, FeedsInOtherEncodingsAreDeliveredAsUtf8) {
  // UTF-16 of Latin-1 text: each byte is a code unit of its own.
  const auto utf16le = [](std::string_view latin1) {
    std::string wide = "\xFF\xFE";
    for (const char c : latin1) wide += {c, '\0'};
    return wide;
  };
  const auto feed = [](const std::string& encoding, const std::string& guid,
                       const std::string& title) {
    return "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?><rss><channel><item><guid>" +
           guid + "</guid><title>" + title + "</title></item></channel></rss>";
  };
  const struct {
    std::string document;
    std::string subject;
  } rows[] = {
      {feed("ISO-8859-1", "latin", "Caf\xE9 \x80"), "Subject: Caf\xC3\xA9 \xE2\x82\xAC\r\n"},
      {feed("windows-1251", "cyrillic", "\xCF\xF0\xE8\xE2\xE5\xF2"),
       "Subject: \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82\r\n"},
      {utf16le(feed("UTF-16", "wide", "na\xEFve")), "Subject: na\xC3\xAFve\r\n"},
  };
  CheckRun run(paths_, window_);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.subject);
    server_.Serve("/feed.xml", row.document);
    EXPECT_EQ(Check(run), 1);
    const auto delivered = Messages("News");
    ASSERT_FALSE(delivered.empty());
    EXPECT_NE(delivered.back().find(row.subject), std::string::npos) << delivered.back();
  }
}

// What a UTF-8 RSS 2.0 or Atom 0.3 feed delivers does not change by a byte
// now that documents are decoded: these are the messages composed before.
TEST_F(CheckEngineTest, Utf8FeedsComposeTheSameMessagesAsBefore) {
  const struct {
    std::string document;
    std::string message;
  } rows[] = {
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<rss version=\"2.0\"><channel><title>Daily"
       "</title><item><title>Caf\xC3\xA9 &amp; \xE2\x82\xAC \xF0\x9F\x98\x80</title>"
       "<link>http://example.com/a</link><description><![CDATA[<p>Body \xC3\xA9 <a href="
       "\"http://example.com/x?a=1&amp;b=2\">x</a><img src='https://example.com/i.png'></p>]]>"
       "</description><author>ann@example.com (Ann)</author><category>news</category>"
       "<guid>rss-1</guid><pubDate>Fri, 11 Dec 2026 08:00:00 GMT</pubDate>"
       "<enclosure url=\"http://example.com/a.mp3\" length=\"12\" type=\"audio/mpeg\"/>"
       "</item></channel></rss>",
       "From ???@??? Sat Dec 12 2026 12:00:00\r\n"
       "Subject: Caf\xC3\xA9 & \xE2\x82\xAC \xF0\x9F\x98\x80\r\n"
       "From: ann@example.com (Ann)\r\n"
       "Date: Fri, 11 Dec 2026 08:00:00 GMT\r\n"
       "Website: http://example.com/a\r\n"
       "Message-Id: <rss-1@localhost.localdomain>\r\n"
       "Downloaded: Sat, Dec 12 2026 12:00:00\r\n"
       "Enclosed: http://example.com/a.mp3\r\n"
       "Category: news\r\n"
       "Feed: News\r\n"
       "MIME-Version: 1.0\r\n"
       "Content-Type: text/html\r\n"
       "Content-Transfer-Encoding: 8bit\r\n"
       "\r\n"
       "<x-html><p>Body \xC3\xA9 <a href=\"http://example.com/x?a=1&amp;b=2\">x</a>"
       "<img src='https://example.com/i.png'></p></x-html>\r\n"},
      {"<?xml version=\"1.0\"?><feed version=\"0.3\" xmlns=\"http://purl.org/atom/ns#\">"
       "<title>Atom</title><entry><title>Stra\xC3\x9F"
       "e</title><id>atom-1</id>"
       "<issued>2026-12-11T09:00:00Z</issued><modified>2026-12-11T09:30:00Z</modified>"
       "<link rel=\"alternate\" href=\"http://example.com/b\"/><author><name>Bo</name></author>"
       "<content type=\"text/html\" mode=\"escaped\">&lt;b&gt;Bold \xE2\x80\x94&lt;/b&gt;</content>"
       "</entry></feed>",
       "From ???@??? Sat Dec 12 2026 12:00:00\r\n"
       "Subject: Stra\xC3\x9F"
       "e\r\n"
       "From: Bo\r\n"
       "Date: Fri, Dec 11 2026 09:00:00\r\n"
       "Website: http://example.com/b\r\n"
       "Message-Id: <atom-1@localhost.localdomain>\r\n"
       "Downloaded: Sat, Dec 12 2026 12:00:00\r\n"
       "Feed: News\r\n"
       "MIME-Version: 1.0\r\n"
       "Content-Type: text/html\r\n"
       "Content-Transfer-Encoding: 8bit\r\n"
       "\r\n"
       "<x-html><b>Bold \xE2\x80\x94</b></x-html>\r\n"},
      // Bytes that are not UTF-8 stay as they are, and so does a document
      // after a UTF-8 byte-order mark.
      {"\xEF\xBB\xBF<rss><channel><item><title>Caf\xE9</title><guid>rss-2</guid>"
       "<description>\xFF\xFE</description></item></channel></rss>",
       "From ???@??? Sat Dec 12 2026 12:00:00\r\n"
       "Subject: Caf\xE9\r\n"
       "From: News\r\n"
       "Date: Sat, Dec 12 2026 12:00:00\r\n"
       "Message-Id: <rss-2@localhost.localdomain>\r\n"
       "Downloaded: Sat, Dec 12 2026 12:00:00\r\n"
       "Feed: News\r\n"
       "MIME-Version: 1.0\r\n"
       "Content-Type: text/html\r\n"
       "Content-Transfer-Encoding: 8bit\r\n"
       "\r\n"
       "<x-html>\xFF\xFE</x-html>\r\n"},
  };
  CheckRun run(paths_, window_);
  for (const auto& row : rows) {
    server_.Serve("/feed.xml", row.document);
    EXPECT_EQ(Check(run), 1);
    const auto delivered = Messages("News");
    ASSERT_FALSE(delivered.empty());
    EXPECT_EQ(delivered.back(), row.message);
  }
}

// A feed that writes its links relative to its own address delivers them
// whole, and the articles keep the Message-Ids they had before.
TEST_F(CheckEngineTest, RelativeLinksAreResolvedAgainstTheFeedsAddress) {
  feed_.URL = server_.Url("/blog/feed.xml");
  server_.Serve("/blog/feed.xml",
                RssFeed("<item><title>Relative</title><link>posts/1.html</link>"
                        "<description>&lt;p&gt;&lt;img src=&quot;/img/1.png&quot;&gt;&lt;/p&gt;"
                        "</description></item>"));
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 1);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 1u);
  const std::string& message = delivered[0];
  EXPECT_NE(message.find("Website: " + server_.Url("/blog/posts/1.html") + "\r\n"),
            std::string::npos)
      << message;
  EXPECT_NE(message.find("Message-Id: <posts/1.html@localhost.localdomain>\r\n"),
            std::string::npos);
  EXPECT_NE(message.find("<x-html><p><img src=\"" + server_.Url("/img/1.png") + "\"></p></x-html>"),
            std::string::npos);
  EXPECT_EQ(Check(run), 0);  // the same article, not a second one
}

// After a redirect the document's address is where it was found, not the
// feed's URL.
TEST_F(CheckEngineTest, RelativeLinksOfARedirectedFeedLeadWhereItWasFound) {
  server_.Serve("/moved/feed.xml",
                RssFeed("<item><title>Moved</title><link>posts/2.html</link></item>"));
  server_.Redirect("/feed.xml", "/moved/feed.xml", 302);
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 1);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_NE(delivered[0].find("Website: " + server_.Url("/moved/posts/2.html") + "\r\n"),
            std::string::npos)
      << delivered[0];
}

// A cached document's address is not known: only its xml:base values count.
TEST_F(CheckEngineTest, CachedDocumentsResolveLinksOnlyAgainstTheirXmlBase) {
  const std::string cache_file = data_.Join("cached.rss");
  WriteFile(cache_file, RssFeed("<item xml:base=\"http://base.example/x/\"><title>Based</title>"
                                "<link>1.html</link></item>"
                                "<item><title>Unbased</title><link>2.html</link></item>"));
  CheckRun run(paths_, window_);
  EXPECT_EQ(run.CheckFeed(feed_, true, cache_file), 2);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 2u);
  EXPECT_NE(delivered[1].find("Website: http://base.example/x/1.html\r\n"), std::string::npos)
      << delivered[1];
  EXPECT_NE(delivered[0].find("Website: 2.html\r\n"), std::string::npos) << delivered[0];
}

TEST_F(CheckEngineTest, DeletedNewsboxDeliversIntoIn) {
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT")));
  feed_.NewsboxPath = data_.Join("Gone.mbx");
  feed_.Newsbox = "Gone";
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 1);
  EXPECT_EQ(Messages("In").size(), 1u);
}

TEST_F(CheckEngineTest, WithoutAutomationNothingIsLostAndTheNextCheckDelivers) {
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT")));
  {
    CheckRun run(paths_, window_);
    ASSERT_EQ(Check(run), 1);  // creates "Pending" through the host
  }
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT") +
                                     RssItem("b", "Fri, 11 Dec 2026 10:00:00 GMT")));
  host_->SetAutomationEnabled(false);
  CheckRun offline(paths_, window_);
  EXPECT_EQ(Check(offline), 0);
  EXPECT_EQ(offline.LastCheck().failure, "the host's automation server did not answer");
  EXPECT_EQ(Messages("News").size(), 1u);
  EXPECT_EQ(LastArticle(), "12/11/2026 08:00:00");  // not moved on: "b" is still to come

  host_->SetAutomationEnabled(true);
  CheckRun online(paths_, window_);
  EXPECT_EQ(Check(online), 1);
  EXPECT_EQ(Messages("News").size(), 2u);
  EXPECT_EQ(LastArticle(), "12/11/2026 10:00:00");
}

TEST_F(CheckEngineTest, UndatedArticlesLeaveLastArticleWhereItWas) {
  server_.Serve("/feed.xml", RssFeed(RssItem("dated", "Fri, 11 Dec 2026 08:00:00 GMT") +
                                     RssItem("undated", "") + RssItem("unreadable", "soon")));
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 3);
  // Not the check's time (12/12/2026 12:00:00): an article of the feed dated
  // 11 December at noon must still count as new.
  EXPECT_EQ(LastArticle(), "12/11/2026 08:00:00");
  EXPECT_EQ(Check(run), 0);
  EXPECT_EQ(LastArticle(), "12/11/2026 08:00:00");
}

// Holds the process's file-size limit at `bytes` while it lives: writes
// beyond it fail as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    saved_signal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_signal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*saved_signal_)(int) = nullptr;
};

TEST_F(CheckEngineTest, ArticlesThatCouldNotBeStagedAreDeliveredByTheNextCheck) {
  constexpr int kArticles = 150;
  std::string items;  // newest first, as feeds list them
  for (int i = kArticles; i >= 1; --i) {
    const std::string minute = (i % 60 < 10 ? "0" : "") + std::to_string(i % 60);
    const std::string hour = std::to_string(10 + i / 60);
    items += RssItem("story-" + std::to_string(i),
                     "Fri, 11 Dec 2026 " + hour + ":" + minute + ":00 GMT");
  }
  const std::string cache_file = data_.Join("cached.rss");
  CheckRun run(paths_, window_);
  {
    WriteFile(cache_file, RssFeed(items));
    const FileSizeLimit limit(30000);
    run.CheckFeed(feed_, true, cache_file);
  }
  const std::size_t first = Messages("News").size();
  EXPECT_GT(first, 0u);
  EXPECT_LT(first, static_cast<std::size_t>(kArticles));
  EXPECT_GT(run.LastCheck().unwritten, 0);
  EXPECT_NE(run.LastCheck().failure.find("could not be written"), std::string::npos);
  EXPECT_EQ(LastArticle(), settings::kDefaultLastArticle);

  WriteFile(cache_file, RssFeed(items));
  EXPECT_EQ(run.CheckFeed(feed_, true, cache_file), kArticles - static_cast<int>(first));
  const auto delivered = Messages("News");
  EXPECT_EQ(delivered.size(), static_cast<std::size_t>(kArticles));
  EXPECT_EQ(run.LastCheck().failure, "");
  EXPECT_EQ(LastArticle(), "12/11/2026 12:30:00");
}

TEST_F(CheckEngineTest, FeedWaitsWhileAnotherTaskHoldsTheStagingMailbox) {
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT")),
                "application/rss+xml");
  CheckRun run(paths_, window_);
  {
    const std::optional<StagingLease> transfer = StagingLease::Take("an article transfer");
    EXPECT_EQ(Check(run), kCheckFailed);
    EXPECT_NE(run.LastCheck().failure.find("in use by an article transfer"), std::string::npos);
    EXPECT_TRUE(Messages("News").empty());
    EXPECT_EQ(LastArticle(), settings::kDefaultLastArticle);
  }
  EXPECT_EQ(Check(run), 1);
  EXPECT_EQ(StagingLease::Holder(), "");
}

TEST_F(CheckEngineTest, FullArticleIsFetchedIntoTheBody) {
  server_.Serve("/feed.xml", RssFeed("<item><title>Full</title><link>" + server_.Url("/page.html") +
                                     "</link><guid>full</guid></item>"));
  server_.Serve("/page.html", "<p>The whole page</p>", "text/html");
  feed_.DownloadReferringArticles = 1;
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 1);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_NE(delivered[0].find("--- Begin Full Article ---</p>\r\n<br><p>The whole page</p>"),
            std::string::npos)
      << delivered[0];
  EXPECT_FALSE(platform::GetFileAttributes(data_.Join("plugins/article.html")));
}

TEST_F(CheckEngineTest, FullArticleInAnotherEncodingIsDeliveredAsUtf8) {
  server_.Serve("/feed.xml", RssFeed("<item><title>Full</title><link>" + server_.Url("/page.html") +
                                     "</link><guid>full</guid></item>"));
  // "Privet" in Cyrillic, in windows-1251, served without a charset.
  server_.Serve("/page.html",
                "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                "charset=windows-1251\"></head><body>\xCF\xF0\xE8\xE2\xE5\xF2</body></html>",
                "text/html");
  feed_.DownloadReferringArticles = 1;
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 1);
  const auto delivered = Messages("News");
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_NE(delivered[0].find("charset=UTF-8\"></head><body>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2"
                              "\xD0\xB5\xD1\x82</body>"),
            std::string::npos)
      << delivered[0];
}

TEST_F(CheckEngineTest, DocumentsThatAreNotFeedsFailAndLeaveTheNewsboxAlone) {
  const struct {
    const char* what;
    std::string body;
    const char* failure;
  } rows[] = {
      {"not XML", "this is plain text", "not a feed document (18 bytes, No root element)"},
      {"empty", "", "not a feed document (0 bytes, Empty document)"},
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
       "not a feed document (16 bytes, No root element)"},
      {"two roots", "<rss></rss><rss></rss>",
       "not a feed document (22 bytes, Root element has sibling)"},
  };
  CheckRun run(paths_, window_);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    server_.Serve("/feed.xml", row.body);
    EXPECT_EQ(Check(run), kCheckFailed);
    EXPECT_EQ(run.LastResult(), kCheckFailed);
    EXPECT_EQ(run.LastCheck().failure, row.failure);
    EXPECT_TRUE(Messages("News").empty());
    EXPECT_FALSE(platform::GetFileAttributes(FeedFile()));
  }
  feed_.URL = "http://127.0.0.1:1/unreachable.xml";
  EXPECT_EQ(Check(run), kCheckFailed);
  EXPECT_TRUE(Messages("News").empty());
}

TEST_F(CheckEngineTest, FeedDocumentOverItsLimitFailsUnread) {
  testing::LoopbackResponse huge;
  huge.body = RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT"));
  huge.padding = kMaxFeedDocumentBytes + 1 - huge.body.size();
  server_.Serve("/feed.xml", huge);
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), kCheckFailed);
  EXPECT_TRUE(Messages("News").empty());
}

TEST_F(CheckEngineTest, IncompleteFeedTouchesNothing) {
  WriteFile(FeedFile(), "<rss/>");
  feed_.Name.clear();
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), kCheckFailed);
  EXPECT_EQ(run.LastResult(), kNotCheckedYet);
  EXPECT_EQ(run.LastCheck().failure, "the feed has no name");
  EXPECT_TRUE(platform::GetFileAttributes(FeedFile()));
  EXPECT_EQ(server_.Hits("/feed.xml"), 0);
}

TEST_F(CheckEngineTest, EveryDeliveredArticleIsAnnouncedToTheNewsBoard) {
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT")));
  window_.has_news_board = true;
  feed_.NotifyNewsBoard = 1;
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), 1);
  const std::vector<NewArticleNotice>& notices = window_.notices;
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].Newsbox, "News");
  EXPECT_EQ(notices[0].MailboxText, feed_.NewsboxPath);
  EXPECT_EQ(notices[0].HeaderText.substr(notices[0].HeaderText.size() - 4), "\r\n\r\n");
  EXPECT_EQ(notices[0].MessageText.rfind("<x-html>Body of a", 0), 0u) << notices[0].MessageText;
  EXPECT_EQ(window_.deliveries_ended, 1);
  // A second check moves nothing: the News Board hears of nothing more.
  EXPECT_EQ(Check(run), 0);
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_EQ(window_.deliveries_ended, 1);
}

TEST_F(CheckEngineTest, CacheImportFindsEachFeedFromItsFileName) {
  FeedRecord dotted = feed_;
  dotted.Alias = "a.b";
  ASSERT_TRUE(SaveFeed(dotted, "", paths_.settings_file));
  platform::CreateFolder(data_.Join("Feeds"));
  platform::CreateFolder(data_.Join("Feeds/old"));
  WriteFile(data_.Join("Feeds/a.b.rss"),
            RssFeed(RssItem("cached", "Fri, 11 Dec 2026 08:00:00 GMT")));
  WriteFile(data_.Join("Feeds/old/stray.rss"), RssFeed(RssItem("stray", "")));
  CheckRun run(paths_, window_);
  EXPECT_TRUE(run.ImportCache());
  EXPECT_EQ(run.TotalNewArticles(), 1);
  EXPECT_EQ(Messages("News").size(), 1u);
  EXPECT_EQ(ReadLastArticle("a.b", paths_.settings_file), "12/11/2026 08:00:00");
  EXPECT_FALSE(platform::GetFileAttributes(data_.Join("Feeds/a.b.rss")));
  EXPECT_FALSE(platform::GetFileAttributes(data_.Join("Feeds/old/stray.rss")));
  EXPECT_EQ(server_.Hits("/feed.xml"), 0);
}

// A background download may put a newer document in place while the import
// reads the older one: the newer one waits for the next import.
TEST_F(CheckEngineTest, CacheImportKeepsADocumentThatArrivesWhileItReads) {
  ASSERT_TRUE(SaveFeed(feed_, "", paths_.settings_file));
  platform::CreateFolder(data_.Join("Feeds"));
  const std::string cache_file = data_.Join("Feeds/News.rss");
  WriteFile(cache_file, RssFeed(RssItem("older", "Fri, 11 Dec 2026 08:00:00 GMT")));
  const std::string newer = RssFeed(RssItem("newer", "Fri, 11 Dec 2026 09:00:00 GMT"));
  CheckRun run(paths_, window_);
  std::vector<std::string> checked;
  EXPECT_TRUE(run.ImportCache([&](const FeedOutcome& feed) {
    checked.push_back(feed.alias);
    WriteFile(cache_file, newer);
  }));
  EXPECT_EQ(checked, std::vector<std::string>{"News"});
  EXPECT_EQ(Messages("News").size(), 1u);
  EXPECT_EQ(testing::ReadFile(cache_file), newer);
  EXPECT_EQ(platform::FindFiles(data_.Join("Feeds/*")), std::vector<std::string>{"News.rss"});

  CheckRun next(paths_, window_);
  EXPECT_TRUE(next.ImportCache());
  EXPECT_EQ(Messages("News").size(), 2u);
  EXPECT_FALSE(platform::GetFileAttributes(cache_file));
}

// An import killed while it read a document left it under the taken name:
// the next import reads it first, then the newer document beside it.
TEST_F(CheckEngineTest, CacheImportReadsWhatAKilledImportLeftTaken) {
  ASSERT_TRUE(SaveFeed(feed_, "", paths_.settings_file));
  platform::CreateFolder(data_.Join("Feeds"));
  const std::string cache_file = data_.Join("Feeds/News.rss");
  WriteFile(cache_file + kTakenCacheFileSuffix,
            RssFeed(RssItem("older", "Fri, 11 Dec 2026 08:00:00 GMT")));
  WriteFile(cache_file, RssFeed(RssItem("newer", "Fri, 11 Dec 2026 09:00:00 GMT")));
  CheckRun run(paths_, window_);
  std::vector<std::string> checked;
  EXPECT_TRUE(run.ImportCache([&](const FeedOutcome& feed) { checked.push_back(feed.alias); }));
  EXPECT_EQ(checked, (std::vector<std::string>{"News", "News"}));
  EXPECT_EQ(Messages("News").size(), 2u);
  EXPECT_EQ(platform::FindFiles(data_.Join("Feeds/*")), std::vector<std::string>{});
}

// Stop pressed while the document stalls: the default time limits would
// hold the check for a minute, the window pumped meanwhile.
TEST_F(CheckEngineTest, StopDuringTheDownloadEndsTheTransferAtOnceAndOnlyThatOne) {
  platform::SetNetTimeouts(platform::NetTimeouts::Defaults());
  testing::LoopbackResponse stalling;
  stalling.body = "<rss version=\"2.0\"><channel>";
  stalling.ending = testing::LoopbackResponse::Ending::kStallAfterBody;
  server_.Serve("/feed.xml", stalling);
  StoppableWindow window;
  CheckRun run(paths_, window);
  std::thread person([&] {
    server_.WaitUntilStalled();
    window.stop = true;
  });
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(run.CheckFeed(feed_, false, FeedFile()), kCheckFailed);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  person.join();
  EXPECT_EQ(run.LastCheck().failure, "The operation was cancelled.");
  EXPECT_GT(window.pumps, 0);
  EXPECT_FALSE(platform::GetFileAttributes(FeedFile()));
  EXPECT_FALSE(platform::NetTransfersCancelled()) << "other transfers go on";

  // The next check, with Stop not pressed, downloads as before.
  window.stop = false;
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT")),
                "application/rss+xml");
  EXPECT_EQ(run.CheckFeed(feed_, false, FeedFile()), 1);
}

TEST_F(CheckEngineTest, DownloadRunStopsWhenAskedAndSumsUp) {
  server_.Serve("/feed.xml", RssFeed(RssItem("a", "Fri, 11 Dec 2026 08:00:00 GMT")));
  FeedRecord second = feed_;
  second.Alias = "Second";
  second.Name = "Second feed";
  CheckRun run(paths_, window_);
  std::vector<std::string> started;
  RunObserver observer;
  observer.feed_starting = [&](const FeedRecord& feed) { started.push_back(feed.Alias); };
  observer.stop_requested = [] { return true; };
  const RunSummary summary = DownloadFeeds(run, {feed_, second}, FeedFile(), window_, observer);
  EXPECT_EQ(started, std::vector<std::string>{"News"});
  EXPECT_TRUE(summary.stopped);
  ASSERT_EQ(summary.feeds.size(), 1u);
  EXPECT_EQ(summary.feeds[0].alias, "News");
  EXPECT_EQ(summary.feeds[0].check.moved, 1);
  EXPECT_EQ(summary.FailedFeeds(), 0);
  EXPECT_EQ(summary.FeedsProcessed(), 1);
  EXPECT_EQ(summary.LastResult(), 1);
  EXPECT_EQ(summary.new_articles, 1);
  EXPECT_EQ(summary.feeds[0].name, "Daily");
  EXPECT_EQ(window_.general_lines.back(), "Ready. For Help, press F1.");
  EXPECT_NE(std::find(window_.general_lines.begin(), window_.general_lines.end(),
                      "Going offline now... Please wait."),
            window_.general_lines.end());
  EXPECT_EQ(host_->StatusText(), "Tavi. Ready. Total number of new articles: 1. Have a nice day.");
  EXPECT_EQ(window_.brought_forward, 1);
}

}  // namespace
}  // namespace tavi
