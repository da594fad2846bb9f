#include "delivery/composer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "fetch/downloader.h"
#include "files/file_names.h"
#include "host/mbx_format.h"
#include "platform/oledate.h"
#include "store/pacing.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"
#include "support/test_seams.h"

namespace tavi {
namespace {

using std::chrono::milliseconds;
using testing::LoopbackServer;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kSeparator[] = "From ???@??? Sun Dec 6 2026 13:46:41";
constexpr char kDownloaded[] = "Sun, Dec 06 2026 13:46:41";
constexpr char kBegin[] = "\r\n<br><p align=\"center\">--- Begin Full Article ---</p>\r\n<br>";
constexpr char kEnd[] = "\r\n<br><p align=\"center\">---- End Full Article ----</p>\r\n<br>";
// The fixed tail of every header block.
const std::vector<std::string> kMimeLines = {"MIME-Version: 1.0", "Content-Type: text/html",
                                             "Content-Transfer-Encoding: 8bit"};

platform::OleDate DateOf(const char* text) { return platform::ParseLocaleDateText(text); }

// The lines of a raw message between its separator line and the empty line.
std::vector<std::string> HeaderLines(const std::string& raw) {
  std::vector<std::string> lines;
  std::size_t start = raw.find("\r\n") + 2;
  for (;;) {
    const std::size_t end = raw.find("\r\n", start);
    if (end == std::string::npos || end == start) return lines;
    lines.push_back(raw.substr(start, end - start));
    start = end + 2;
  }
}

std::vector<std::string> Concat(std::vector<std::string> lines,
                                const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

class ComposerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPacing(Pacing::Designed());
    context_.StagingMailboxPath = folder_.Join("Pending.mbx");
    context_.StagingIndexPath = folder_.Join("Pending.toc");
    context_.SeparatorLine = std::string(kSeparator) + "\r\n";
    context_.DownloadedText = kDownloaded;
    context_.CheckTime = DateOf("12/06/2026 13:46:41");
    context_.ArticleFile = folder_.Join("article.html");
    WriteFile(context_.StagingMailboxPath, "");
    feed_.Alias = "News";
    feed_.DownloadOnlyNewArticles = 1;
    feed_.DownloadReferringArticles = 0;
  }
  bool Append(ArticleRecord& article) {
    return AppendArticleMessage(feed_, article, last_, newest_, context_) ==
           ArticleOutcome::kAppended;
  }
  std::string Staged() const { return ReadFile(context_.StagingMailboxPath); }
  // The staged messages as the host cuts the file.
  std::vector<std::string> StagedMessages() const {
    return host::ParseMailboxFile(Staged()).messages;
  }

  // An article that is new for the fixture's feed.
  static ArticleRecord NewArticle() {
    ArticleRecord article;
    article.Title = "Title";
    article.Guid = "g1";
    article.Date = "Sat, 05 Dec 2026 10:00:00 GMT";
    article.Description = "<p>Body</p>";
    return article;
  }

  testing::PinnedUtcClock clock_{testing::UtcInstant(2026, 12, 6, 13, 46, 41)};
  testing::QuickNetTimeouts timeouts_;
  testing::RecordingSleeper sleeper_;
  TempDir folder_;
  DeliveryContext context_;
  FeedRecord feed_;
  platform::OleDate last_ = DateOf("12/01/2026 00:00:00");
  platform::OleDate newest_ = last_;
};

TEST_F(ComposerTest, WritesTheWholeMessageByteForByte) {
  // Links written in full are not touched by the document's address.
  context_.DocumentUrl = "http://feeds.example.test/news/rss.xml";
  ArticleRecord article;
  article.Title = "Hello World";
  article.Link = "http://example.test/a";
  article.Description = "<p>First <a href=\"http://example.test/b\">b</a></p>\r\n<p>Second</p>";
  article.Author = "Ann <ann@example.test>";
  article.Date = "Sat, 05 Dec 2026 10:00:00 GMT";
  article.Guid = "urn:a1";
  article.Category = "Tech";

  ASSERT_TRUE(Append(article));
  EXPECT_EQ(Staged(),
            "From ???@??? Sun Dec 6 2026 13:46:41\r\n"
            "Subject: Hello World\r\n"
            "From: Ann <ann@example.test>\r\n"
            "Date: Sat, 05 Dec 2026 10:00:00 GMT\r\n"
            "Website: http://example.test/a\r\n"
            "Message-Id: <urn:a1@localhost.localdomain>\r\n"
            "Downloaded: Sun, Dec 06 2026 13:46:41\r\n"
            "Category: Tech\r\n"
            "Feed: News\r\n"
            "MIME-Version: 1.0\r\n"
            "Content-Type: text/html\r\n"
            "Content-Transfer-Encoding: 8bit\r\n"
            "\r\n"
            "<x-html><p>First <a href=\"http://example.test/b\">b</a></p>\r\n<p>Second</p>"
            "</x-html>\r\n");
  EXPECT_EQ(newest_, DateOf("12/05/2026 10:00:00"));
}

TEST_F(ComposerTest, RelativeLinksAreResolvedWhileTheMessageIdKeepsTheLinkAsWritten) {
  context_.DocumentUrl = "http://feeds.example.test/news/rss.xml";
  ArticleRecord article = NewArticle();
  article.Guid = "";
  article.Link = "/p/1";
  article.Enclosure = "e.mp3";
  article.Comments = "c#comments";
  article.XmlBases = {"/blog/"};
  article.BodyXmlBase = "2026/";
  article.Description = "<p><img src=\"i.png\"> <a href=\"http://abs.example/x\">x</a></p>";
  ASSERT_TRUE(Append(article));
  const std::vector<std::string> lines = HeaderLines(Staged());
  const auto has_line = [&](const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  };
  EXPECT_TRUE(has_line("Website: http://feeds.example.test/p/1"));
  EXPECT_TRUE(has_line("Message-Id: </p/1@localhost.localdomain>"));
  EXPECT_TRUE(has_line("Enclosed: http://feeds.example.test/blog/e.mp3"));
  EXPECT_TRUE(has_line("Website-Comments: http://feeds.example.test/blog/c#comments"));
  EXPECT_EQ(host::MessageBody(StagedMessages().at(0)),
            "<x-html><p><img src=\"http://feeds.example.test/blog/2026/i.png\"> "
            "<a href=\"http://abs.example/x\">x</a></p></x-html>");

  // A newsbox that holds the article under its link as written has it
  // already.
  WriteFile(context_.StagingMailboxPath, "");
  context_.ExistingMessageIds = {"</p/1@localhost.localdomain>"};
  ArticleRecord again = NewArticle();
  again.Guid = "";
  again.Link = "/p/1";
  EXPECT_FALSE(Append(again));
  EXPECT_EQ(Staged(), "");
}

TEST_F(ComposerTest, HeaderBlockHoldsOnlyTheLinesWithValues) {
  struct Case {
    const char* name;
    std::function<void(ArticleRecord&)> change;
    std::vector<std::string> headers;
  };
  const Case cases[] = {
      {"title and link only: the link names the message, no author or date",
       [](ArticleRecord& a) {
         a = {};
         a.Title = "T";
         a.Link = "http://x.test/1";
       },
       {"Subject: T", "From: News", "Date: Sun, Dec 06 2026 13:46:41", "Website: http://x.test/1",
        "Message-Id: <http://x.test/1@localhost.localdomain>",
        "Downloaded: Sun, Dec 06 2026 13:46:41", "Feed: News"}},
      {"description only: the subject stays, empty",
       [](ArticleRecord& a) { a.Title.clear(); },
       {"Subject: ", "From: News", "Date: Sat, 05 Dec 2026 10:00:00 GMT",
        "Message-Id: <g1@localhost.localdomain>", "Downloaded: Sun, Dec 06 2026 13:46:41",
        "Feed: News"}},
      {"every optional line, in its place",
       [](ArticleRecord& a) {
         a.Enclosure = "http://x.test/a.mp3";
         a.Category = "Tech";
         a.Comments = "http://x.test/c";
         a.Source = "Wire";
       },
       {"Subject: Title", "From: News", "Date: Sat, 05 Dec 2026 10:00:00 GMT",
        "Message-Id: <g1@localhost.localdomain>", "Downloaded: Sun, Dec 06 2026 13:46:41",
        "Enclosed: http://x.test/a.mp3", "Category: Tech", "Website-Comments: http://x.test/c",
        "Source: Wire", "Feed: News"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(context_.StagingMailboxPath, "");
    ArticleRecord article = NewArticle();
    c.change(article);
    ASSERT_TRUE(Append(article));
    const std::vector<std::string> messages = StagedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(HeaderLines(messages[0]), Concat(c.headers, kMimeLines));
    // The body line follows the empty line directly.
    EXPECT_NE(messages[0].find("Content-Transfer-Encoding: 8bit\r\n\r\n<x-html>"),
              std::string::npos);
  }
}

TEST_F(ComposerTest, DecidesWhichArticlesAreNew) {
  struct Case {
    const char* name;
    std::function<void(ArticleRecord&)> change;
    int only_new;
    std::vector<std::string> existing;
    bool written;
  };
  const std::vector<std::string> none;
  const Case cases[] = {
      {"new", [](ArticleRecord&) {}, 1, none, true},
      {"no title and no description",
       [](ArticleRecord& a) {
         a.Title.clear();
         a.Description.clear();
       },
       1, none, false},
      {"no guid and no link", [](ArticleRecord& a) { a.Guid.clear(); }, 1, none, false},
      {"already in the newsbox",
       [](ArticleRecord&) {},
       1,
       {"<other@localhost.localdomain>", "<g1@localhost.localdomain>"},
       false},
      {"Message-Ids compare with letter case",
       [](ArticleRecord&) {},
       1,
       {"<G1@localhost.localdomain>"},
       true},
      {"older than the last article",
       [](ArticleRecord& a) { a.Date = "Mon, 30 Nov 2026 23:59:59 GMT"; }, 1, none, false},
      {"dated exactly the last article",
       [](ArticleRecord& a) { a.Date = "Tue, 01 Dec 2026 00:00:00 GMT"; }, 1, none, false},
      {"dated exactly the last article, all articles wanted",
       [](ArticleRecord& a) { a.Date = "Tue, 01 Dec 2026 00:00:00 GMT"; }, 0, none, true},
      {"unreadable date counts as now", [](ArticleRecord& a) { a.Date = "someday"; }, 1, none,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(context_.StagingMailboxPath, "");
    feed_.DownloadOnlyNewArticles = c.only_new;
    context_.ExistingMessageIds = {c.existing.begin(), c.existing.end()};
    ArticleRecord article = NewArticle();
    c.change(article);
    // A check asks ahead whether a page is worth fetching: the same answer.
    EXPECT_EQ(IsNewArticle(feed_, article, last_, context_), c.written);
    EXPECT_EQ(Append(article), c.written);
    EXPECT_EQ(StagedMessages().size(), c.written ? 1u : 0u);
  }
}

TEST_F(ComposerTest, MissingOrUnreadableDateCountsAsTheCheckTimeButNeverRaisesTheNewest) {
  struct Case {
    const char* date;
    const char* kept_date;  // in the record and in the "Date:" line
  };
  const Case cases[] = {
      {"", kDownloaded},
      // Read as the check's time, yet the article keeps its own text.
      {"Sun, 06 Dec 2026 09:00:00 CET", "Sun, 06 Dec 2026 09:00:00 CET"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    WriteFile(context_.StagingMailboxPath, "");
    ArticleRecord article = NewArticle();
    article.Date = c.date;
    article.Author.clear();
    ASSERT_TRUE(Append(article));
    // The check's time would hide every later article dated before it.
    EXPECT_EQ(newest_, last_);
    EXPECT_EQ(article.Date, c.kept_date);
    EXPECT_EQ(article.Author, "News");
    EXPECT_EQ(host::MessageHeaderValue(StagedMessages().at(0), "Date"), c.kept_date);
  }
  // A check that runs before the feed's last article lets no undated one through.
  context_.CheckTime = DateOf("11/30/2026 00:00:00");
  ArticleRecord undated = NewArticle();
  undated.Date.clear();
  EXPECT_FALSE(Append(undated));
}

TEST_F(ComposerTest, OnlyDatesUpToADayAfterTheCheckRaiseTheNewest) {
  struct Case {
    const char* date;
    const char* newest;
  };
  const Case cases[] = {
      {"Mon, 07 Dec 2026 13:46:41 GMT", "12/07/2026 13:46:41"},
      // Later than a day after the check: delivered, but its date is not trusted.
      {"Mon, 07 Dec 2026 13:46:42 GMT", "12/01/2026 00:00:00"},
      {"Fri, 31 Dec 9999 23:59:59 GMT", "12/01/2026 00:00:00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    newest_ = last_;
    ArticleRecord article = NewArticle();
    article.Guid = c.date;
    article.Date = c.date;
    EXPECT_TRUE(Append(article));
    EXPECT_EQ(newest_, DateOf(c.newest));
  }
}
TEST_F(ComposerTest, DuplicateStillRaisesNewestButNeverLowersIt) {
  context_.ExistingMessageIds = {"<g1@localhost.localdomain>"};
  ArticleRecord duplicate = NewArticle();
  EXPECT_FALSE(Append(duplicate));
  EXPECT_EQ(newest_, DateOf("12/05/2026 10:00:00"));

  ArticleRecord older = NewArticle();
  older.Guid = "g2";
  older.Date = "Thu, 03 Dec 2026 10:00:00 GMT";
  EXPECT_TRUE(Append(older));
  EXPECT_EQ(newest_, DateOf("12/05/2026 10:00:00"));
}

TEST_F(ComposerTest, AMessageThatCannotBeWrittenLeavesTheNewestAlone) {
  context_.StagingMailboxPath = folder_.Join("Gone.mbx");
  ArticleRecord article = NewArticle();
  EXPECT_EQ(AppendArticleMessage(feed_, article, last_, newest_, context_),
            ArticleOutcome::kWriteFailed);
  EXPECT_FALSE(FileExists(context_.StagingMailboxPath));
  EXPECT_EQ(newest_, last_);
}

TEST_F(ComposerTest, LineBreaksInValuesNeverAddHeaderLines) {
  feed_.Alias = "News\r\nX-Feed: forged";
  ArticleRecord article = NewArticle();
  article.Title = "Hi\r\nBcc: victim@example.test";
  article.Author = "Ann\n\nBody starts";
  article.Link = "http://x.test/\r";
  article.Guid = "g\r\n1";
  article.Enclosure = "e\nX: 1";
  article.Category = "c\nX: 2";
  article.Comments = "m\nX: 3";
  article.Source = "s\nX: 4";
  ASSERT_TRUE(Append(article));

  const std::vector<std::string> messages = StagedMessages();
  ASSERT_EQ(messages.size(), 1u);
  const std::vector<std::string> expected = {"Subject: Hi  Bcc: victim@example.test",
                                             "From: Ann  Body starts",
                                             "Date: Sat, 05 Dec 2026 10:00:00 GMT",
                                             "Website: http://x.test/ ",
                                             "Message-Id: <g  1@localhost.localdomain>",
                                             "Downloaded: Sun, Dec 06 2026 13:46:41",
                                             "Enclosed: e X: 1",
                                             "Category: c X: 2",
                                             "Website-Comments: m X: 3",
                                             "Source: s X: 4",
                                             "Feed: News  X-Feed: forged"};
  EXPECT_EQ(HeaderLines(messages[0]), Concat(expected, kMimeLines));
  EXPECT_EQ(ComposeMessageId(article), "<g  1@localhost.localdomain>");

  // The newsbox hands back the Message-Id as written; the same article is
  // then recognised.
  context_.ExistingMessageIds = {std::string(host::MessageHeaderValue(messages[0], "Message-Id"))};
  ArticleRecord again = article;
  EXPECT_FALSE(Append(again));
  EXPECT_EQ(StagedMessages().size(), 1u);
}

TEST_F(ComposerTest, BodyLinesCannotPassForSeparatorLines) {
  struct Case {
    const char* description;
    const char* body;
  };
  const Case cases[] = {
      {"<p>a</p>\r\nFrom ???@??? Sun Dec 6 2026 13:46:41\r\n<p>b</p>",
       "<x-html><p>a</p>\r\n>From ???@??? Sun Dec 6 2026 13:46:41\r\n<p>b</p></x-html>"},
      // Any line beginning so is quoted, whatever follows and after a bare LF.
      {"a\nFrom ???@???\nFrom ???@??? x\r\n",
       "<x-html>a\n>From ???@???\n>From ???@??? x\r\n</x-html>"},
      // Not at the start of a line: left alone.
      {"From ???@??? Sun Dec 6 2026 13:46:41 and From ???@???",
       "<x-html>From ???@??? Sun Dec 6 2026 13:46:41 and From ???@???"
       "</x-html>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    WriteFile(context_.StagingMailboxPath, "");
    ArticleRecord article = NewArticle();
    article.Description = c.description;
    ASSERT_TRUE(Append(article));
    const std::vector<std::string> messages = StagedMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(host::MessageBody(messages[0]), c.body);
    // The record keeps the article's own text.
    EXPECT_EQ(article.Description, c.description);
  }
}

class ComposerFullArticleTest : public ComposerTest {
 protected:
  void SetUp() override {
    ComposerTest::SetUp();
    feed_.DownloadReferringArticles = 1;
  }

  // The URL of a server that is gone: every connection is refused.
  static std::string RefusedUrl() {
    LoopbackServer gone;
    return gone.Url("/page");
  }

  LoopbackServer server_;
};

TEST_F(ComposerFullArticleTest, FetchedPageGoesBetweenTheMarkers) {
  const std::string page = "<html>Full\r\nFrom ???@??? Sun Dec 6 2026 13:46:41\r\n</html>";
  server_.Serve("/page", page, "text/html");
  ArticleRecord article = NewArticle();
  article.Link = server_.Url("/page");
  ASSERT_TRUE(Append(article));

  EXPECT_EQ(article.Description, "<p>Body</p>" + std::string(kBegin) + page + kEnd);
  const std::vector<std::string> messages = StagedMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(host::MessageBody(messages[0]),
            "<x-html><p>Body</p>" + std::string(kBegin) +
                "<html>Full\r\n>From ???@??? Sun Dec 6 2026 13:46:41\r\n</html>" + kEnd +
                "</x-html>");
  EXPECT_FALSE(FileExists(context_.ArticleFile));
  EXPECT_EQ(sleeper_.Waits(), std::vector<milliseconds>{milliseconds(25)});
}

// A page the check fetched ahead is taken from it; a link it did not fetch
// is fetched as before. Either is read in the charset its server named.
TEST_F(ComposerFullArticleTest, PrefetchedPageIsTakenInsteadOfFetchedAgain) {
  // "Привет" and "Мир" in windows-1251, which no meta names.
  server_.Serve("/page", "<html>\xCC\xE8\xF0</html>", "text/html; charset=windows-1251");
  const struct {
    bool held;
    std::string page;
    int hits;
  } rows[] = {
      {true, "<html>\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82</html>", 0},
      {false, "<html>\xD0\x9C\xD0\xB8\xD1\x80</html>", 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.held);
    WriteFile(context_.StagingMailboxPath, "");
    const std::string link = server_.Url("/page");
    const int hits_before = server_.Hits("/page");
    context_.PrefetchedPage = [&](const std::string& asked, const std::string& file,
                                  platform::NetResponse* response) {
      EXPECT_EQ(asked, link);
      if (!row.held) return false;
      WriteFile(file, "<html>\xCF\xF0\xE8\xE2\xE5\xF2</html>");
      response->charset = "windows-1251";
      return true;
    };
    ArticleRecord article = NewArticle();
    article.Link = link;
    ASSERT_TRUE(Append(article));
    EXPECT_EQ(article.Description, "<p>Body</p>" + std::string(kBegin) + row.page + kEnd);
    EXPECT_EQ(server_.Hits("/page") - hits_before, row.hits);
    EXPECT_FALSE(FileExists(context_.ArticleFile));
  }
}

TEST_F(ComposerFullArticleTest, FailedFetchLeavesNoMarkers) {
  struct Case {
    const char* name;
    const char* stale_file;  // left in the article file beforehand, or null
  };
  const Case cases[] = {
      {"server unreachable", nullptr},
      {"server unreachable, an earlier page still in the article file", "<html>Old</html>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(context_.StagingMailboxPath, "");
    if (c.stale_file) WriteFile(context_.ArticleFile, c.stale_file);
    ArticleRecord article = NewArticle();
    article.Link = RefusedUrl();
    ASSERT_TRUE(Append(article));
    EXPECT_EQ(article.Description, "<p>Body</p>");
    EXPECT_EQ(host::MessageBody(StagedMessages().at(0)), "<x-html><p>Body</p></x-html>");
    EXPECT_FALSE(FileExists(context_.ArticleFile));
  }
}

// A feed must not make Tavi copy a local file into a message.
TEST_F(ComposerFullArticleTest, FetchesOnlyFromWebAddresses) {
  server_.Serve("/page", "<html>Full</html>", "text/html");
  const std::string local_file = folder_.Join("secret.txt");
  WriteFile(local_file, "secret");
  const std::string links[] = {
      "file://" + local_file,
      local_file,
      "ftp://127.0.0.1/page",
  };
  for (const std::string& link : links) {
    SCOPED_TRACE(link);
    WriteFile(context_.StagingMailboxPath, "");
    ArticleRecord article = NewArticle();
    article.Link = link;
    ASSERT_TRUE(Append(article));
    EXPECT_EQ(article.Description, "<p>Body</p>");
    EXPECT_EQ(host::MessageBody(StagedMessages().at(0)), "<x-html><p>Body</p></x-html>");
  }
  EXPECT_EQ(server_.Hits("/page"), 0);
}

TEST_F(ComposerFullArticleTest, PageComesFromTheResolvedLinkWithoutTheWhiteSpaceAround) {
  server_.Serve("/news/page", "<html>Full</html>", "text/html");
  const struct {
    std::string link;
    std::string document_url;
  } rows[] = {
      {"page", server_.Url("/news/feed.xml")},
      {"\r\n  " + server_.Url("/news/page") + " \t", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.link);
    context_.DocumentUrl = row.document_url;
    ArticleRecord article = NewArticle();
    article.Link = row.link;
    ASSERT_TRUE(Append(article));
    EXPECT_EQ(article.Description,
              "<p>Body</p>" + std::string(kBegin) + "<html>Full</html>" + kEnd);
  }
  EXPECT_EQ(server_.Hits("/news/page"), 2);
}

TEST_F(ComposerFullArticleTest, PageOverTheFullArticleLimitIsLeftOut) {
  testing::LoopbackResponse huge;
  huge.body = "<html>Huge";
  huge.padding = kMaxFullArticleBytes + 1 - huge.body.size();
  server_.Serve("/page", huge);
  ArticleRecord article = NewArticle();
  article.Link = server_.Url("/page");
  ASSERT_TRUE(Append(article));
  EXPECT_EQ(article.Description, "<p>Body</p>");
  EXPECT_FALSE(FileExists(context_.ArticleFile));
}

TEST_F(ComposerFullArticleTest, FetchesNothingUnlessTheFeedAsks) {
  server_.Serve("/page", "<html>Full</html>", "text/html");
  feed_.DownloadReferringArticles = 0;
  ArticleRecord article = NewArticle();
  article.Link = server_.Url("/page");
  ASSERT_TRUE(Append(article));
  EXPECT_EQ(server_.Hits("/page"), 0);
  EXPECT_EQ(article.Description, "<p>Body</p>");
}

}  // namespace
}  // namespace tavi
