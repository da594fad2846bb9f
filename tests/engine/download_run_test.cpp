#include "engine/download_run.h"

#include <gtest/gtest.h>

#include "engine/check_engine_fixture.h"
#include "platform/fs.h"

namespace tavi {
namespace {

using ::tavi::testing::LoopbackServer;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

std::vector<FeedRecord> FeedsAt(const std::vector<std::string>& urls, const std::string& prefix,
                                const std::string& newsbox, const std::string& newsbox_path) {
  std::vector<FeedRecord> feeds;
  for (const std::string& url : urls) {
    FeedRecord feed;
    feed.Alias = prefix + std::to_string(feeds.size());
    feed.Name = "Feed " + feed.Alias;
    feed.URL = url;
    feed.Newsbox = newsbox;
    feed.NewsboxPath = newsbox_path;
    feeds.push_back(feed);
  }
  return feeds;
}

// Downloading ahead changes when documents arrive, never what is delivered
// or in which order; a document that fails fails only its own feed.
TEST_F(CheckEngineTest, ConcurrentRunDeliversWhatARunOfOneDownloadAtATimeDelivers) {
  std::vector<std::string> urls;
  for (int index = 0; index < 7; ++index) {
    const std::string path = "/feed" + std::to_string(index) + ".xml";
    urls.push_back(server_.Url(path));
    if (index == 3) continue;  // answers 404
    std::string items;
    for (int item = 0; item < 3; ++item) {
      // Each article's full page comes from the server too; one is missing.
      const std::string id = std::to_string(index) + "-" + std::to_string(item);
      if (id != "1-1") server_.Serve("/page" + id, "<p>Page " + id + "</p>", "text/html");
      items += "<item><title>Story " + id + "</title><link>" + server_.Url("/page" + id) +
               "</link><guid>" + id + "</guid><pubDate>Fri, 11 Dec 2026 0" + std::to_string(item) +
               ":00:00 GMT</pubDate></item>";
    }
    server_.Serve(path, RssFeed(items), "application/rss+xml");
  }
  const auto run_with = [&](int max_downloads, const std::string& newsbox) {
    WriteProfileInt("General", "MaxDownloads", max_downloads, paths_.settings_file);
    auto feeds = FeedsAt(urls, newsbox, newsbox, CreateTopLevelMailbox(newsbox));
    for (FeedRecord& feed : feeds) feed.DownloadReferringArticles = 1;
    CheckRun run(paths_, window_);
    return DownloadFeeds(run, feeds, FeedFile(), window_, {});
  };
  const RunSummary serial = run_with(1, "Serial");
  const RunSummary concurrent = run_with(16, "Concurrent");
  for (const RunSummary* summary : {&serial, &concurrent}) {
    ASSERT_EQ(summary->feeds.size(), urls.size());
    EXPECT_EQ(summary->FailedFeeds(), 1);
    EXPECT_EQ(summary->feeds[3].check.failure, "The server answered 404 Not Found.");
    EXPECT_EQ(summary->new_articles, 18);
  }
  std::vector<std::string> expected = Messages("Serial");
  ASSERT_EQ(expected.size(), 18u);
  // The feeds differ only in their aliases, which the messages name.
  for (std::string& message : expected) {
    for (auto alias = message.find("Serial"); alias != std::string::npos;
         alias = message.find("Serial", alias))
      message.replace(alias, std::string("Serial").size(), "Concurrent");
  }
  EXPECT_EQ(Messages("Concurrent"), expected);
  EXPECT_NE(expected[0].find("<p>Page 0-2</p>"), std::string::npos) << expected[0];
  EXPECT_EQ(server_.Hits("/page0-0"), 2) << "each run fetches each page once";
  EXPECT_TRUE(platform::FindFiles(FeedFile() + "*").empty());
}

// A stop ends the download it waits for and every one ahead of it; no
// document fetched ahead stays on disk.
TEST_F(CheckEngineTest, StopDuringARunCancelsEveryDownloadAndLeavesNoFile) {
  testing::LoopbackResponse stalling;
  stalling.ending = testing::LoopbackResponse::Ending::kStallBeforeHeader;
  server_.Serve("/stall.xml", stalling);
  server_.Serve("/second.xml", RssFeed(RssItem("b", "Fri, 11 Dec 2026 08:00:00 GMT")));
  server_.Serve("/third.xml", RssFeed(RssItem("c", "Fri, 11 Dec 2026 08:00:00 GMT")));
  const auto feeds =
      FeedsAt({server_.Url("/stall.xml"), server_.Url("/second.xml"), server_.Url("/third.xml")},
              "F", feed_.Newsbox, feed_.NewsboxPath);
  StoppableWindow window;
  CheckRun run(paths_, window);
  RunObserver observer;
  observer.stop_requested = [&window] { return window.stop.load(); };
  std::thread person([&] {
    server_.WaitUntilStalled();
    window.stop = true;
  });
  const auto started = std::chrono::steady_clock::now();
  const RunSummary summary = DownloadFeeds(run, feeds, FeedFile(), window, observer);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
  person.join();
  EXPECT_TRUE(summary.stopped);
  ASSERT_EQ(summary.feeds.size(), 1u);
  EXPECT_EQ(summary.feeds[0].check.failure, "The operation was cancelled.");
  EXPECT_TRUE(platform::FindFiles(FeedFile() + "*").empty());
  EXPECT_TRUE(Messages("News").empty());
}

}  // namespace
}  // namespace tavi
