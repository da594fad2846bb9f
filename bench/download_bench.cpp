// A Download run of many feeds on slow servers: 200 feeds of 20 items each,
// spread over 50 hosts (a listener on each of the loopback addresses
// 127.0.0.2 to 127.0.0.51), every request answered after 200 ms, as a server
// far away would. One document after another would take over 40 s; the run
// downloads ahead, many at once. Measured: the tavi command's first run
// (everything new) and its second run over unchanged feeds, where the servers
// answer a conditional request with 304 Not Modified. The peer is newsboat
// reloading the same feeds with 16 threads, first and second run, in the
// same run of this program. The ratios are printed at the end.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/command_bench_support.h"

namespace {

using tavi::bench::ProcessResult;
using tavi::bench::ProgramInstalled;
using tavi::bench::RatioReporter;
using tavi::bench::RunProgram;
using tavi::bench::SetUpTavi;
using tavi::bench::TaviDelivered;
using tavi::bench::TimeCommand;

constexpr int kFeeds = 200;
constexpr int kItemsPerFeed = 20;
constexpr int kHosts = 50;
constexpr int kFirstHost = 2;  // 127.0.0.2
constexpr int kPort = 18471;
constexpr std::chrono::milliseconds kServerDelay{200};
constexpr int kArticles = kFeeds * kItemsPerFeed;
constexpr const char* kNewsbox = "News";
constexpr const char* kNewsboat = "/usr/bin/newsboat";
constexpr const char* kLastModified = "Mon, 03 Nov 2025 09:00:00 GMT";

std::string HostAddress(int feed) {
  return "127.0.0." + std::to_string(kFirstHost + feed % kHosts);
}

std::string FeedPath(int feed) { return "/feed-" + std::to_string(feed) + ".rss"; }

std::string FeedUrl(int feed) {
  return "http://" + HostAddress(feed) + ":" + std::to_string(kPort) + FeedPath(feed);
}

std::string ETagOf(const std::string& path) { return "\"" + path.substr(1) + "-1\""; }

std::string FeedDocument(int feed) {
  std::string items;
  for (int i = 0; i < kItemsPerFeed; ++i) {
    const std::string id = std::to_string(feed) + "-" + std::to_string(i);
    items += "<item><title>Story " + id + " about something worth reading</title>";
    items += "<link>http://example.com/stories/" + id + "</link>";
    items += "<guid>http://example.com/stories/" + id + "</guid>";
    items += "<pubDate>Mon, 03 Nov 2025 08:" + std::string(i < 10 ? "0" : "") + std::to_string(i) +
             ":00 GMT</pubDate>";
    items += "<description>&lt;p&gt;The text of story " + id + ".&lt;/p&gt;</description></item>\n";
  }
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel><title>Feed " +
         std::to_string(feed) + "</title><link>http://example.com/</link>\n" + items +
         "</channel></rss>\n";
}

// True when the request's validators match the document's: it may be
// answered 304 Not Modified.
bool NotModified(const httplib::Request& request) {
  const std::string etag = request.get_header_value("If-None-Match");
  if (!etag.empty()) return etag == ETagOf(request.path);
  return request.get_header_value("If-Modified-Since") == kLastModified;
}

// The feed servers: one listener a host, each request answered after the
// delay, with an ETag and a Last-Modified that never change.
class FeedHosts {
 public:
  FeedHosts() {
    for (int feed = 0; feed < kFeeds; ++feed) documents_[FeedPath(feed)] = FeedDocument(feed);
    for (int host = 0; host < kHosts; ++host) Listen(HostAddress(host));
  }
  ~FeedHosts() {
    for (auto& server : servers_) server->stop();
    for (auto& thread : threads_) thread.join();
  }
  bool Ready() const { return bound_; }

 private:
  void Listen(const std::string& address) {
    auto server = std::make_unique<httplib::Server>();
    server->Get(R"(/feed-\d+\.rss)",
                [this](const httplib::Request& request, httplib::Response& response) {
                  std::this_thread::sleep_for(kServerDelay);
                  response.set_header("ETag", ETagOf(request.path));
                  response.set_header("Last-Modified", kLastModified);
                  if (NotModified(request)) {
                    response.status = 304;
                    return;
                  }
                  response.set_content(documents_.at(request.path), "application/rss+xml");
                });
    // Bound before the thread starts: requests wait in the backlog until it
    // accepts them.
    if (!server->bind_to_port(address, kPort)) bound_ = false;
    httplib::Server* listening = server.get();
    threads_.emplace_back([listening] { listening->listen_after_bind(); });
    servers_.push_back(std::move(server));
  }

  std::map<std::string, std::string> documents_;
  std::vector<std::unique_ptr<httplib::Server>> servers_;
  std::vector<std::thread> threads_;
  bool bound_ = true;
};

// --- Tavi

bool SubscribeTavi(const std::string& data) {
  std::vector<std::vector<std::string>> additions;
  for (int feed = 0; feed < kFeeds; ++feed) {
    const std::string alias = "Feed" + std::to_string(feed);
    additions.push_back({"add", alias, FeedUrl(feed), "--name", alias, "--newsbox", kNewsbox});
  }
  return SetUpTavi(data, additions);
}

ProcessResult DownloadTavi(const std::string& data) {
  return {RunProgram({TAVI_COMMAND_PATH, "--data", data, "download"})};
}

std::size_t TaviArticles(const std::string& data) { return TaviDelivered(data, kNewsbox); }

void RunTavi(benchmark::State& state, bool second_run) {
  TimeCommand(state, {.prepare = SubscribeTavi,
                      .run = DownloadTavi,
                      .second_run = second_run,
                      .count_delivered = TaviArticles,
                      .fewest_articles = kArticles,
                      .most_articles = kArticles,
                      .failure = "the tavi command did not deliver every article"});
}

void BM_TaviFirstRun(benchmark::State& state) { RunTavi(state, false); }
void BM_TaviSecondRun(benchmark::State& state) { RunTavi(state, true); }

// --- newsboat

bool ConfigureNewsboat(const std::string& folder) {
  std::ofstream urls(folder + "/urls");
  for (int feed = 0; feed < kFeeds; ++feed) urls << FeedUrl(feed) << "\n";
  std::ofstream config(folder + "/config");
  config << "reload-threads 16\n";
  return static_cast<bool>(urls) && static_cast<bool>(config);
}

ProcessResult ReloadNewsboat(const std::string& folder) {
  return {RunProgram({kNewsboat, "-u", folder + "/urls", "-c", folder + "/cache.db", "-C",
                      folder + "/config", "-x", "reload"})};
}

// newsboat's cache is not counted: only its exit code is checked.
void RunPeer(benchmark::State& state, bool second_run) {
  if (!ProgramInstalled(state, kNewsboat,
                        "newsboat is not installed (bench/download_bench.sh installs it)"))
    return;
  TimeCommand(state, {.prepare = ConfigureNewsboat,
                      .run = ReloadNewsboat,
                      .second_run = second_run,
                      .failure = "newsboat did not reload the feeds"});
}

void BM_NewsboatFirstRun(benchmark::State& state) { RunPeer(state, false); }
void BM_NewsboatSecondRun(benchmark::State& state) { RunPeer(state, true); }

BENCHMARK(BM_TaviFirstRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_NewsboatFirstRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TaviSecondRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_NewsboatSecondRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const FeedHosts hosts;
  if (!hosts.Ready()) {
    std::cerr << "the feed servers cannot listen on 127.0.0.2 to 127.0.0.51\n";
    return 1;
  }
  RatioReporter reporter(
      "newsboat",
      {{"first run (all new)", "BM_TaviFirstRun", "BM_NewsboatFirstRun"},
       {"second run (unchanged feeds)", "BM_TaviSecondRun", "BM_NewsboatSecondRun"}},
      {.time = 0, .ratio = 2});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
