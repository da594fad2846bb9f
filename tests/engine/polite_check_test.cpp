#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "engine/background_checker.h"
#include "engine/check_engine_fixture.h"
#include "engine/download_run.h"
#include "fetch/downloader.h"
#include "platform/net.h"
#include "store/cache_answer.h"
#include "store/feed_validators.h"

namespace tavi {
namespace {

using ::tavi::testing::LoopbackServer;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

// --- Polite HTTP ------------------------------------------------------------

class PoliteCheckTest : public CheckEngineTest {
 protected:
  void SetUp() override {
    CheckEngineTest::SetUp();
    ASSERT_TRUE(SaveFeed(feed_, settings::kDefaultLastArticle, paths_.settings_file));
  }

  // The feed as the settings file holds it now.
  FeedRecord Stored() const { return ReadFeedDefinition(feed_.Alias, paths_.settings_file); }
  FeedValidators Validators() const {
    return ReadFeedValidators(feed_.Alias, paths_.settings_file);
  }

  static testing::LoopbackResponse FeedAnswer(std::string body) {
    testing::LoopbackResponse answer;
    answer.body = std::move(body);
    answer.content_type = "application/rss+xml";
    answer.headers = {{"ETag", "\"v1\""}, {"Last-Modified", "Fri, 11 Dec 2026 09:30:00 GMT"}};
    return answer;
  }
};

TEST_F(PoliteCheckTest, ValidatorsOfACompletedCheckAreSentAndA304DeliversNothing) {
  server_.Serve("/feed.xml", FeedAnswer(RssFeed(RssItem("a", "Fri, 11 Dec 2026 09:30:00 GMT"))));
  CheckRun run(paths_, window_);
  ASSERT_EQ(Check(run), 1);
  EXPECT_EQ(Validators(), (FeedValidators{"\"v1\"", "Fri, 11 Dec 2026 09:30:00 GMT"}));
  EXPECT_FALSE(run.LastCheck().not_modified);

  testing::LoopbackResponse not_modified;
  not_modified.status = 304;
  server_.Serve("/feed.xml", not_modified);
  EXPECT_EQ(Check(run), 0);
  EXPECT_EQ(server_.LastRequestHeader("/feed.xml", "If-None-Match"), "\"v1\"");
  EXPECT_EQ(server_.LastRequestHeader("/feed.xml", "If-Modified-Since"),
            "Fri, 11 Dec 2026 09:30:00 GMT");
  EXPECT_TRUE(run.LastCheck().not_modified);
  EXPECT_FALSE(run.OutcomeOf(feed_).Failed());
  EXPECT_EQ(Messages("News").size(), 1u);
  EXPECT_EQ(LastArticle(), "12/11/2026 09:30:00");
  EXPECT_EQ(Validators(), (FeedValidators{"\"v1\"", "Fri, 11 Dec 2026 09:30:00 GMT"}));
  EXPECT_FALSE(platform::GetFileAttributes(FeedFile()));
}

// Like "LastArticle": validators of a document whose articles did not all
// arrive would make the next check skip them.
TEST_F(PoliteCheckTest, ValidatorsStayUnstoredUntilEverythingArrived) {
  server_.Serve("/feed.xml", FeedAnswer(RssFeed(RssItem("a", "Fri, 11 Dec 2026 09:30:00 GMT"))));
  {
    CheckRun run(paths_, window_);
    ASSERT_EQ(Check(run), 1);  // creates "Pending" through the host
  }
  testing::LoopbackResponse changed =
      FeedAnswer(RssFeed(RssItem("b", "Fri, 11 Dec 2026 10:00:00 GMT")));
  changed.headers = {{"ETag", "\"v2\""}};
  server_.Serve("/feed.xml", changed);
  host_->SetAutomationEnabled(false);
  CheckRun offline(paths_, window_);
  Check(offline);
  EXPECT_EQ(Validators().ETag, "\"v1\"");

  host_->SetAutomationEnabled(true);
  CheckRun online(paths_, window_);
  EXPECT_EQ(Check(online), 1);
  // The new answer had no Last-Modified: the old one must not stay with it.
  EXPECT_EQ(Validators(), (FeedValidators{"\"v2\"", ""}));
}

TEST_F(PoliteCheckTest, APermanentRedirectMovesTheStoredUrlAndATemporaryOneDoesNot) {
  server_.Serve("/new.xml", FeedAnswer(RssFeed(RssItem("a", "Fri, 11 Dec 2026 09:30:00 GMT"))));
  server_.Redirect("/feed.xml", "/new.xml", 302);
  CheckRun run(paths_, window_);
  ASSERT_EQ(Check(run), 1);
  EXPECT_EQ(Stored().URL, feed_.URL);
  EXPECT_EQ(run.LastCheck().moved_to, "");

  server_.Redirect("/feed.xml", "/new.xml", 301);
  EXPECT_EQ(Check(run), 0);
  EXPECT_EQ(Stored().URL, server_.Url("/new.xml"));
  EXPECT_EQ(run.LastCheck().moved_to, server_.Url("/new.xml"));
  EXPECT_EQ(Validators().ETag, "\"v1\"");

  feed_ = Stored();
  EXPECT_EQ(Check(run), 0);
  EXPECT_EQ(server_.Hits("/feed.xml"), 2) << "the old address is asked no more";
  EXPECT_EQ(run.LastCheck().moved_to, "");
}

TEST_F(PoliteCheckTest, CompressedAndLatin1DocumentsAreDeliveredAsUtf8Text) {
  testing::LoopbackResponse packed;
  packed.body = std::string(
      "\x1F\x8B\x08\x00\x00\x00\x00\x00\x02\x03\xB3\x29\x2A\x2E\xB6\xB3\x49\xCE\x48\xCC"
      "\xCB\x4B\xCD\xB1\xB3\xC9\x2C\x49\xCD\xB5\xB3\x49\x2F\xCD\x4C\xB1\x2B\x48\x4C\xCE"
      "\x4E\x4D\xB1\xD1\x07\x73\x6C\x4A\x32\x4B\x72\x52\xED\x02\xC0\x62\x0A\xC5\x25\xF9"
      "\x45\x95\x36\xFA\x10\x31\x1B\x7D\x88\x26\x7D\xB8\x21\xFA\x20\x33\x01\x7E\x75\x51"
      "\x87\x59\x00\x00\x00",
      85);
  packed.content_type = "application/rss+xml";
  packed.headers = {{"Content-Encoding", "gzip"}};
  // Only the transport names the encoding: the document has no declaration.
  testing::LoopbackResponse latin1;
  latin1.body =
      "<rss><channel><item><guid>latin</guid><title>Caf\xE9</title></item></channel></rss>";
  latin1.content_type = "application/rss+xml; charset=ISO-8859-1";
  const struct {
    const char* name;
    testing::LoopbackResponse answer;
    std::string subject;
  } rows[] = {
      {"gzip", packed, "Subject: Packed story\r\n"},
      {"Latin-1", latin1, "Subject: Caf\xC3\xA9\r\n"},
  };
  CheckRun run(paths_, window_);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    server_.Serve("/feed.xml", row.answer);
    EXPECT_EQ(Check(run), 1);
    const auto delivered = Messages("News");
    ASSERT_FALSE(delivered.empty());
    EXPECT_NE(delivered.back().find(row.subject), std::string::npos) << delivered.back();
  }
}

// A Download run fetches its documents ahead with the validators each check
// would send, and takes a 304 from there as the check would.
TEST_F(PoliteCheckTest, ADownloadRunAsksForEachDocumentWithItsValidators) {
  FeedRecord second = feed_;
  second.Alias = "Second";
  second.URL = server_.Url("/second.xml");
  ASSERT_TRUE(SaveFeed(second, settings::kDefaultLastArticle, paths_.settings_file));
  for (const char* path : {"/feed.xml", "/second.xml"})
    server_.Serve(path, FeedAnswer(RssFeed(RssItem(path, "Fri, 11 Dec 2026 09:30:00 GMT"))));
  const auto download = [&] {
    CheckRun run(paths_, window_);
    return DownloadFeeds(run, {feed_, second}, FeedFile(), window_, {});
  };
  ASSERT_EQ(download().new_articles, 2);

  testing::LoopbackResponse not_modified;
  not_modified.status = 304;
  for (const char* path : {"/feed.xml", "/second.xml"}) server_.Serve(path, not_modified);
  const RunSummary summary = download();
  EXPECT_EQ(summary.new_articles, 0);
  EXPECT_EQ(summary.FailedFeeds(), 0);
  for (std::size_t index = 0; index < 2; ++index) {
    SCOPED_TRACE(index);
    EXPECT_TRUE(summary.feeds[index].check.not_modified);
    EXPECT_EQ(server_.LastRequestHeader(index == 0 ? "/feed.xml" : "/second.xml", "If-None-Match"),
              "\"v1\"");
  }
  EXPECT_EQ(ReadFeedValidators("Second", paths_.settings_file).ETag, "\"v1\"");
  EXPECT_TRUE(platform::FindFiles(FeedFile() + "*").empty());
}

TEST_F(PoliteCheckTest, RefusedRedirectsFailTheCheckNamingWhy) {
  server_.Redirect("/feed.xml", "file:///etc/hostname", 301);
  CheckRun run(paths_, window_);
  EXPECT_EQ(Check(run), kCheckFailed);
  EXPECT_EQ(run.LastCheck().failure,
            "The server redirected to an address that is not http or https.");
  EXPECT_EQ(Stored().URL, feed_.URL);

  server_.Redirect("/feed.xml", "/feed.xml", 301);
  EXPECT_EQ(Check(run), kCheckFailed);
  EXPECT_EQ(run.LastCheck().failure,
            "The redirection failed: the server redirected more than 20 times in a row.");
  EXPECT_EQ(Stored().URL, feed_.URL);
}

// --- Scheduled checks --------------------------------------------------------

// The background checker downloads the feed into the cache, and a later
// import reads it: the two together must come to what one check would.
class ScheduledCheckTest : public PoliteCheckTest {
 protected:
  // Runs a tick of the background checker with the feed due, and returns
  // once its download has ended.
  void DownloadOnSchedule() {
    WriteProfileInt(feed_.Alias, settings::kAutoCheck, 1, paths_.settings_file);
    // No interval: due at every tick, and never moved on.
    WriteProfileInt(feed_.Alias, settings::kIntervalMinutes, 0, paths_.settings_file);
    WriteProfileString(feed_.Alias, settings::kLastCheck, "12/1/2026 12:00:00 PM",
                       paths_.settings_file);
    // Shared: the download's thread may still be leaving set_value when the
    // wait is over.
    const auto finished = std::make_shared<std::promise<void>>();
    CheckerSetup setup{paths_.settings_file, paths_.data_folder, kCheckerPeriod, {}};
    setup.events.downloads_finished = [finished] { finished->set_value(); };
    std::future<void> ended = finished->get_future();
    const std::atomic<bool> main_window_open{false};
    BackgroundChecker checker(setup, main_window_open);
    checker.RunTick();
    ended.wait();
  }

  std::vector<FeedOutcome> Import(const std::function<void()>& after_each_feed = {}) {
    std::vector<FeedOutcome> outcomes;
    CheckRun run(paths_, window_);
    run.ImportCache([&](const FeedOutcome& outcome) {
      outcomes.push_back(outcome);
      if (after_each_feed) after_each_feed();
    });
    return outcomes;
  }

  std::string CacheFile() const { return CacheFilePath(paths_.data_folder, feed_.Alias); }
  std::vector<std::string> CacheFolderFiles() const {
    std::vector<std::string> files = platform::FindFiles(data_.Join("Feeds/*"));
    std::sort(files.begin(), files.end());
    return files;
  }
  // The newest message of the newsbox; "" when there is none.
  std::string Newest() {
    const auto delivered = Messages("News");
    return delivered.empty() ? "" : delivered.back();
  }
};

TEST_F(ScheduledCheckTest, AScheduledCheckAsksWithWhatTheLastCheckStoredAndA304ImportsNothing) {
  server_.Serve("/feed.xml", FeedAnswer(RssFeed(RssItem("a", "Fri, 11 Dec 2026 09:30:00 GMT"))));
  CheckRun run(paths_, window_);
  ASSERT_EQ(Check(run), 1);
  testing::LoopbackResponse not_modified;
  not_modified.status = 304;
  server_.Serve("/feed.xml", not_modified);

  DownloadOnSchedule();
  EXPECT_EQ(server_.LastRequestHeader("/feed.xml", "If-None-Match"), "\"v1\"");
  EXPECT_EQ(server_.LastRequestHeader("/feed.xml", "If-Modified-Since"),
            "Fri, 11 Dec 2026 09:30:00 GMT");
  EXPECT_TRUE(Import().empty());
  EXPECT_EQ(Messages("News").size(), 1u);
  EXPECT_TRUE(CacheFolderFiles().empty());
}

// Only the Content-Type names the charset, and the document moved for good.
TEST_F(ScheduledCheckTest, ACachedDocumentIsReadAsTheCheckThatFetchedItWouldReadIt) {
  testing::LoopbackResponse latin1 = FeedAnswer(
      "<rss><channel><item><guid>latin</guid><title>Caf\xE9</title><link>posts/1.html</link>"
      "</item></channel></rss>");
  latin1.content_type = "application/rss+xml; charset=ISO-8859-1";
  server_.Serve("/moved/feed.xml", latin1);
  server_.Redirect("/feed.xml", "/moved/feed.xml", 301);

  DownloadOnSchedule();
  const std::vector<FeedOutcome> outcomes = Import();
  ASSERT_EQ(outcomes.size(), 1u);
  EXPECT_FALSE(outcomes[0].Failed()) << outcomes[0].check.failure;
  EXPECT_EQ(outcomes[0].check.moved_to, server_.Url("/moved/feed.xml"));
  const std::string message = Newest();
  EXPECT_NE(message.find("Subject: Caf\xC3\xA9\r\n"), std::string::npos) << message;
  EXPECT_NE(message.find("Website: " + server_.Url("/moved/posts/1.html") + "\r\n"),
            std::string::npos)
      << message;
  EXPECT_EQ(Stored().URL, server_.Url("/moved/feed.xml"));
  EXPECT_EQ(Validators(), (FeedValidators{"\"v1\"", "Fri, 11 Dec 2026 09:30:00 GMT"}));
  EXPECT_TRUE(CacheFolderFiles().empty());
}

// What an older version left, and an answer that belongs to another
// document: the document is read as the cache was read before, knowing no
// address and storing no validators.
TEST_F(ScheduledCheckTest, ACachedDocumentWithoutItsOwnAnswerIsReadAsBefore) {
  const struct {
    const char* name;
    bool scheduled;  // downloaded on schedule, then replaced by hand
  } rows[] = {{"no answer", false}, {"answer of the document it replaced", true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    server_.Serve("/feed.xml", FeedAnswer(RssFeed("")));
    if (row.scheduled) DownloadOnSchedule();
    platform::CreateFolder(data_.Join("Feeds"));
    WriteFile(CacheFile(), RssFeed(std::string("<item><title>Older</title><link>") + row.name +
                                   ".html</link></item>"));
    ASSERT_EQ(Import().size(), 1u);
    EXPECT_NE(Newest().find(std::string("Website: ") + row.name + ".html\r\n"), std::string::npos)
        << Newest();
    EXPECT_EQ(Validators(), FeedValidators{});
    EXPECT_TRUE(CacheFolderFiles().empty());
  }
}

// A document that arrives while the import reads the older one keeps its own
// answer for the next import; one a killed import left taken keeps its too.
TEST_F(ScheduledCheckTest, EachAnswerStaysWithItsDocumentThroughImports) {
  const auto serve = [&](const std::string& guid, const std::string& etag) {
    testing::LoopbackResponse answer = FeedAnswer(RssFeed(RssItem(guid, "")));
    answer.headers = {{"ETag", etag}};
    server_.Serve("/feed.xml", answer);
  };
  serve("a", "\"a\"");
  DownloadOnSchedule();
  serve("b", "\"b\"");
  EXPECT_EQ(Import(/*after_each_feed=*/[&] { DownloadOnSchedule(); }).size(), 1u);
  EXPECT_EQ(Validators().ETag, "\"a\"");
  EXPECT_EQ(CacheFolderFiles(), (std::vector<std::string>{"News.rss", "News.rss.answer"}));

  const std::string taken = CacheFile() + kTakenCacheFileSuffix;
  ASSERT_TRUE(platform::RenameFile(CacheFile(), taken));
  ASSERT_TRUE(platform::RenameFile(CacheAnswerPath(CacheFile()), CacheAnswerPath(taken)));
  EXPECT_EQ(Import().size(), 1u);
  EXPECT_EQ(Validators().ETag, "\"b\"");
  EXPECT_EQ(Messages("News").size(), 2u);
  EXPECT_TRUE(CacheFolderFiles().empty());
}

// The run's feeds, each at its own path of the server, into `newsbox`.

}  // namespace
}  // namespace tavi
