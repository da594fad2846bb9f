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
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "web/feed_server.h"

extern char** environ;

namespace {

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

// A fresh folder, removed with its content at the end.
class Folder {
 public:
  Folder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/tavi-bench-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

constexpr const char* kTimeProgram = "/usr/bin/time";

struct ProcessResult {
  int exit_code = -1;
  long peak_kilobytes = 0;  // 0 when not measured
};

// Runs a program with its output discarded and waits for it.
int RunProgram(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  int exit_code = -1;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status)) exit_code = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  return exit_code;
}

// The same, measuring the program's peak resident memory with the time
// program when it is there. The bench's own process is large (it holds the
// documents it serves), and a child it starts directly inherits its
// high-water mark; a child of the small time program does not.
ProcessResult RunMeasuredProgram(std::vector<std::string> arguments, const std::string& folder) {
  if (access(kTimeProgram, X_OK) != 0) return {RunProgram(arguments), 0};
  const std::string report = folder + "/peak.txt";
  arguments.insert(arguments.begin(), {kTimeProgram, "-f", "%M", "-o", report});
  ProcessResult result{RunProgram(arguments), 0};
  std::ifstream(report) >> result.peak_kilobytes;
  return result;
}

bool Tavi(const std::string& data, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"--data", data});
  std::ostringstream ignored;
  return tavi::cli::RunCommandLine(arguments, ignored, ignored) == 0;
}

std::size_t CountOccurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

std::size_t TaviDelivered(const std::string& data) {
  std::ifstream file(data + "/" + kNewsbox + ".mbx", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return CountOccurrences(bytes, "From ???@??? ");
}

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
  if (!Tavi(data, {"init"})) return false;
  for (int feed = 0; feed < kFeeds; ++feed) {
    const std::string alias = "Feed" + std::to_string(feed);
    if (!Tavi(data, {"add", alias, FeedUrl(feed), "--name", "Feed " + std::to_string(feed),
                     "--newsbox", kNewsbox}))
      return false;
  }
  return true;
}

ProcessResult DownloadTavi(const std::string& data) {
  return RunMeasuredProgram({TAVI_COMMAND_PATH, "--data", data, "download"}, data);
}

void RunTavi(benchmark::State& state, bool second_run) {
  std::size_t delivered = 0;
  long peak = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Folder folder;
    const bool ready =
        SubscribeTavi(folder.Path()) && (!second_run || DownloadTavi(folder.Path()).exit_code == 0);
    state.ResumeTiming();
    const ProcessResult result = DownloadTavi(folder.Path());
    state.PauseTiming();
    delivered = TaviDelivered(folder.Path());
    peak = std::max(peak, result.peak_kilobytes);
    if (!ready || result.exit_code != 0 || delivered != kArticles) {
      state.SkipWithError("the tavi command did not deliver every article");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["articles"] = static_cast<double>(delivered);
  state.counters["peak_rss_MB"] = static_cast<double>(peak) / 1024.0;
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

int RunRss2email(const std::string& folder) {
  return RunProgram({kRss2email, "-c", folder + "/r2e.cfg", "-d", folder + "/r2e.json", "run"});
}

void RunPeer(benchmark::State& state, bool second_run) {
  if (access(kRss2email, X_OK) != 0) {
    state.SkipWithError("rss2email is not installed (apt-get install rss2email)");
    return;
  }
  std::size_t delivered = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Folder folder;
    const bool ready =
        ConfigureRss2email(folder.Path()) && (!second_run || RunRss2email(folder.Path()) == 0);
    state.ResumeTiming();
    const int exit_code = RunRss2email(folder.Path());
    state.PauseTiming();
    delivered = Rss2emailDelivered(folder.Path());
    if (!ready || exit_code != 0 || delivered != kArticles) {
      state.SkipWithError("rss2email did not deliver every article");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["articles"] = static_cast<double>(delivered);
}

void BM_Rss2emailFirstRun(benchmark::State& state) { RunPeer(state, false); }
void BM_Rss2emailSecondRun(benchmark::State& state) { RunPeer(state, true); }

// --- One large document

void BM_TaviLargeDocument(benchmark::State& state) {
  long peak = 0;
  std::size_t delivered = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Folder folder;
    const bool ready = Tavi(folder.Path(), {"init"}) &&
                       Tavi(folder.Path(), {"add", "Large", Server().Url("/large.rss"), "--name",
                                            "Large", "--newsbox", kNewsbox});
    state.ResumeTiming();
    const ProcessResult result = DownloadTavi(folder.Path());
    state.PauseTiming();
    delivered = TaviDelivered(folder.Path());
    peak = std::max(peak, result.peak_kilobytes);
    if (!ready || result.exit_code != 0 || delivered == 0) {
      state.SkipWithError("the large document was not delivered");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["articles"] = static_cast<double>(delivered);
  state.counters["peak_rss_MB"] = static_cast<double>(peak) / 1024.0;
}

// --- One feed of many articles, checked twice: the second check finds every
// article in the newsbox already.

void RunManyItems(benchmark::State& state, bool second_check) {
  std::size_t delivered = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const Folder folder;
    const bool ready = Tavi(folder.Path(), {"init"}) &&
                       Tavi(folder.Path(), {"add", "Many", Server().Url("/many.rss"), "--name",
                                            "Many", "--newsbox", kNewsbox, "--all"}) &&
                       (!second_check || DownloadTavi(folder.Path()).exit_code == 0);
    state.ResumeTiming();
    const ProcessResult result = DownloadTavi(folder.Path());
    state.PauseTiming();
    delivered = TaviDelivered(folder.Path());
    if (!ready || result.exit_code != 0 || delivered != kManyItems) {
      state.SkipWithError("the feed of many articles was not delivered once");
      break;
    }
    state.ResumeTiming();
  }
  state.counters["articles"] = static_cast<double>(delivered);
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

// Prints each run as usual and, at the end, how many times faster Tavi was.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (!run.error_occurred) times_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void Finalize() override {
    PrintRatio("first run (all new)", "BM_TaviFirstRun", "BM_Rss2emailFirstRun");
    PrintRatio("second run (nothing new)", "BM_TaviSecondRun", "BM_Rss2emailSecondRun");
    PrintSecondCheckShare();
    ConsoleReporter::Finalize();
  }

 private:
  void PrintRatio(const char* what, const std::string& ours, const std::string& peer) {
    const auto tavi = times_.find(ours);
    const auto other = times_.find(peer);
    if (tavi == times_.end() || other == times_.end() || tavi->second <= 0) return;
    std::printf("Tavi vs rss2email, %s: %.1f ms vs %.1f ms, %.1f times faster\n", what,
                tavi->second, other->second, other->second / tavi->second);
  }

  // The second check of the many articles against their first: at most
  // 1.2 when the newsbox's Message-Ids are looked up in constant time.
  void PrintSecondCheckShare() {
    const auto first = times_.find("BM_TaviManyItemsFirstCheck");
    const auto second = times_.find("BM_TaviManyItemsSecondCheck");
    if (first == times_.end() || second == times_.end() || first->second <= 0) return;
    std::printf("Tavi, %d articles: second check %.0f ms, first %.0f ms, %.2f of the first\n",
                kManyItems, second->second, first->second, second->second / first->second);
  }

  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Server();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
