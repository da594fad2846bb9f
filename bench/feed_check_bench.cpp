// The main job end to end: 20 feeds of 50 items each, served from a loopback
// HTTP server, checked into one newsbox by the tavi command; first run
// (everything new) and second run (nothing new). The peer is rss2email doing
// the same job into a local Maildir, measured in the same run. Both run as
// programs, so each time holds a whole process: start, configuration,
// downloads, parsing and delivery. The ratios are printed at the end.
//
// Also measured: the peak resident memory of the tavi command checking one
// 30 MB feed document.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "bench/command_bench_support.h"
#include "web/feed_server.h"

namespace {

using tavi::bench::ProcessResult;
using tavi::bench::ProgramInstalled;
using tavi::bench::RatioReporter;
using tavi::bench::RunMeasuredProgram;
using tavi::bench::RunProgram;
using tavi::bench::SetUpTavi;
using tavi::bench::TaviDelivered;
using tavi::bench::TimeCommand;

constexpr int kFeeds = 20;
constexpr int kItemsPerFeed = 50;
constexpr int kArticles = kFeeds * kItemsPerFeed;
constexpr const char* kRss2email = "/usr/bin/r2e";
constexpr const char* kNewsbox = "News";
constexpr std::size_t kLargeDocumentBytes = 30u << 20;
constexpr int kManyItems = 100000;

std::string Item(const std::string& id, int index, const std::string& body) {
  const int minute = index % 60;
  std::string item = "<item><title>Story ";
  item.append(id).append(" about something worth reading</title>");
  item.append("<link>http://example.com/stories/").append(id).append("</link>");
  item.append("<guid>http://example.com/stories/").append(id).append("</guid>");
  item.append("<pubDate>Mon, 03 Nov 2025 08:").append(minute < 10 ? "0" : "");
  item.append(std::to_string(minute)).append(":00 GMT</pubDate>");
  item.append("<author>desk@example.com (News Desk)</author>");
  item.append("<description>").append(body).append("</description></item>\n");
  return item;
}

std::string Document(const std::string& title, const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel><title>" +
         title + "</title><link>http://example.com/</link><description>Bench</description>\n" +
         items + "</channel></rss>\n";
}

std::string FeedDocument(int feed) {
  const std::string body =
      "&lt;p&gt;The text of the article, long enough to look like a summary of one, with "
      "&lt;a href=\"http://example.com/\"&gt;a link&lt;/a&gt; in it.&lt;/p&gt;";
  std::string items;
  for (int i = 0; i < kItemsPerFeed; ++i)
    items += Item(std::to_string(feed) + "-" + std::to_string(i), i, body);
  return Document("Feed " + std::to_string(feed), items);
}

// About `bytes` of RSS in items of 3 KB each.
std::string LargeDocument(std::size_t bytes) {
  const std::string body = "&lt;p&gt;" + std::string(3000, 'x') + "&lt;/p&gt;";
  std::string items;
  for (int i = 0; items.size() < bytes; ++i) items += Item("large-" + std::to_string(i), i, body);
  return Document("Large", items);
}

// `count` short items: a feed whose check is dominated by the articles
// themselves, not their size.
std::string ManyItemsDocument(int count) {
  std::string items;
  for (int i = 0; i < count; ++i) items += Item("many-" + std::to_string(i), i, "Short.");
  return Document("Many", items);
}

std::size_t TaviArticles(const std::string& data) { return TaviDelivered(data, kNewsbox); }

std::size_t Rss2emailDelivered(const std::string& folder) {
  std::error_code error;
  std::size_t count = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(folder + "/mail/" + kNewsbox + "/new", error)) {
    (void)entry;
    ++count;
  }
  return count;
}

tavi::web::FeedServer& Server() {
  static tavi::web::FeedServer* server = [] {
    auto* made = new tavi::web::FeedServer();
    for (int feed = 0; feed < kFeeds; ++feed)
      made->Serve("/feed-" + std::to_string(feed) + ".rss", FeedDocument(feed));
    made->Serve("/large.rss", LargeDocument(kLargeDocumentBytes));
    made->Serve("/many.rss", ManyItemsDocument(kManyItems));
    if (!made->Start()) std::cerr << "the feed server cannot listen\n";
    return made;
  }();
  return *server;
}

std::string FeedUrl(int feed) { return Server().Url("/feed-" + std::to_string(feed) + ".rss"); }

// --- Tavi

bool SubscribeTavi(const std::string& data) {
  std::vector<std::vector<std::string>> additions;
  for (int feed = 0; feed < kFeeds; ++feed) {
    additions.push_back({"add", "Feed" + std::to_string(feed), FeedUrl(feed), "--name",
                         "Feed " + std::to_string(feed), "--newsbox", kNewsbox});
  }
  return SetUpTavi(data, additions);
}

ProcessResult DownloadTavi(const std::string& data) {
  return RunMeasuredProgram({TAVI_COMMAND_PATH, "--data", data, "download"}, data);
}

void RunTavi(benchmark::State& state, bool second_run) {
  TimeCommand(state, {.prepare = SubscribeTavi,
                      .run = DownloadTavi,
                      .second_run = second_run,
                      .count_delivered = TaviArticles,
                      .fewest_articles = kArticles,
                      .most_articles = kArticles,
                      .report_peak = true,
                      .failure = "the tavi command did not deliver every article"});
}

void BM_TaviFirstRun(benchmark::State& state) { RunTavi(state, false); }
void BM_TaviSecondRun(benchmark::State& state) { RunTavi(state, true); }

// --- rss2email

bool ConfigureRss2email(const std::string& folder) {
  // The Maildir is made by rss2email, but not the folder that holds it.
  std::filesystem::create_directory(folder + "/mail");
  std::ofstream config(folder + "/r2e.cfg");
  config << "[DEFAULT]\nfrom = bench@localhost\nto = reader@localhost\n"
         << "email-protocol = maildir\nmaildir-path = " << folder << "/mail\n"
         << "maildir-mailbox = " << kNewsbox << "\nverbose = error\n";
  for (int feed = 0; feed < kFeeds; ++feed)
    config << "\n[feed.feed" << feed << "]\nurl = " << FeedUrl(feed) << "\n";
  return static_cast<bool>(config);
}

ProcessResult RunRss2email(const std::string& folder) {
  return {RunProgram({kRss2email, "-c", folder + "/r2e.cfg", "-d", folder + "/r2e.json", "run"})};
}

void RunPeer(benchmark::State& state, bool second_run) {
  if (!ProgramInstalled(state, kRss2email,
                        "rss2email is not installed (apt-get install rss2email)"))
    return;
  TimeCommand(state, {.prepare = ConfigureRss2email,
                      .run = RunRss2email,
                      .second_run = second_run,
                      .count_delivered = Rss2emailDelivered,
                      .fewest_articles = kArticles,
                      .most_articles = kArticles,
                      .failure = "rss2email did not deliver every article"});
}

void BM_Rss2emailFirstRun(benchmark::State& state) { RunPeer(state, false); }
void BM_Rss2emailSecondRun(benchmark::State& state) { RunPeer(state, true); }

// --- One large document: any delivery counts, as the number of its items
// follows from its size.

bool SubscribeLarge(const std::string& data) {
  return SetUpTavi(data, {{"add", "Large", Server().Url("/large.rss"), "--name", "Large",
                           "--newsbox", kNewsbox}});
}

void BM_TaviLargeDocument(benchmark::State& state) {
  TimeCommand(state, {.prepare = SubscribeLarge,
                      .run = DownloadTavi,
                      .count_delivered = TaviArticles,
                      .fewest_articles = 1,
                      .report_peak = true,
                      .failure = "the large document was not delivered"});
}

// --- One feed of many articles, checked twice: the second check finds every
// article in the newsbox already.

bool SubscribeMany(const std::string& data) {
  return SetUpTavi(data, {{"add", "Many", Server().Url("/many.rss"), "--name", "Many", "--newsbox",
                           kNewsbox, "--all"}});
}

void RunManyItems(benchmark::State& state, bool second_check) {
  TimeCommand(state, {.prepare = SubscribeMany,
                      .run = DownloadTavi,
                      .second_run = second_check,
                      .count_delivered = TaviArticles,
                      .fewest_articles = kManyItems,
                      .most_articles = kManyItems,
                      .failure = "the feed of many articles was not delivered once"});
}

void BM_TaviManyItemsFirstCheck(benchmark::State& state) { RunManyItems(state, false); }
void BM_TaviManyItemsSecondCheck(benchmark::State& state) { RunManyItems(state, true); }

BENCHMARK(BM_TaviFirstRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_Rss2emailFirstRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TaviSecondRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_Rss2emailSecondRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TaviLargeDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_TaviManyItemsFirstCheck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_TaviManyItemsSecondCheck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The ratios to rss2email, then the second check of the many articles
// against their first: at most 1.2 when the newsbox's Message-Ids are looked
// up in constant time.
class FeedCheckReporter : public RatioReporter {
 public:
  FeedCheckReporter()
      : RatioReporter("rss2email",
                      {{"first run (all new)", "BM_TaviFirstRun", "BM_Rss2emailFirstRun"},
                       {"second run (nothing new)", "BM_TaviSecondRun", "BM_Rss2emailSecondRun"}},
                      {.time = 1, .ratio = 1}) {}

 private:
  void PrintNotes() override {
    const std::optional<double> first = TimeOf("BM_TaviManyItemsFirstCheck");
    const std::optional<double> second = TimeOf("BM_TaviManyItemsSecondCheck");
    if (!first || !second || *first <= 0) return;
    std::printf("Tavi, %d articles: second check %.0f ms, first %.0f ms, %.2f of the first\n",
                kManyItems, *second, *first, *second / *first);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Server();
  FeedCheckReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
