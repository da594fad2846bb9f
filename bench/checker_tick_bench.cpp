// One background checker tick over a settings file of 1,000 feeds, every
// one checked automatically and none due: the work the checker does every
// minute while the host runs. The reference is a single read and parse of
// the same file, the least any tick must do. The tick must stay under 50 ms.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/background_checker.h"
#include "platform/profile_text.h"
#include "store/feed_definitions.h"
#include "store/profile.h"

namespace {

constexpr int kFeeds = 1000;

// A settings file as the feed store writes it, every feed due a year later.
std::string SettingsText() {
  std::string aliases = "[Aliases]\n";
  std::string sections;
  for (int i = 0; i < kFeeds; ++i) {
    const std::string alias = "Feed" + std::to_string(i);
    aliases += alias + "=" + alias + " News\n";
    sections += "[" + alias + "]\nName=" + alias + " News\nURL=http://127.0.0.1:1/" + alias +
                ".rss\nNewsbox=" + alias + "\nNewsboxPath=/mail/" + alias +
                ".mbx\nDownloadReferringArticles=0\nDownloadOnlyNewArticles=1\n"
                "LastArticle=12/01/2026 08:00:00\nAutoCheck=1\nIntervalMinutes=30\n"
                "LastCheck=12/7/2099 3:30:00 PM\n";
  }
  return aliases + sections;
}

class SettingsFolder {
 public:
  SettingsFolder() {
    char pattern[] = "/tmp/tavi-bench-XXXXXX";
    folder_ = mkdtemp(pattern);
    std::FILE* file = std::fopen(SettingsFile().c_str(), "wb");
    const std::string text = SettingsText();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
  ~SettingsFolder() { std::filesystem::remove_all(folder_); }
  std::string SettingsFile() const { return folder_ + "/tavi.ini"; }
  const std::string& Folder() const { return folder_; }

 private:
  std::string folder_;
};

void BM_TickOverThousandFeedsNoneDue(benchmark::State& state) {
  const SettingsFolder folder;
  const std::atomic<bool> main_window_open{false};
  tavi::CheckerSetup setup;
  setup.settings_file = folder.SettingsFile();
  setup.data_folder = folder.Folder();
  tavi::BackgroundChecker checker(setup, main_window_open);
  for (auto _ : state) checker.RunTick();
  const std::string before =
      tavi::ReadProfileString("Feed0", "LastCheck", "", folder.SettingsFile());
  if (before != "12/7/2099 3:30:00 PM") state.SkipWithError("a tick wrote a due time");
}

void BM_ReferenceOneReadOfTheFile(benchmark::State& state) {
  const SettingsFolder folder;
  for (auto _ : state) {
    std::FILE* file = std::fopen(folder.SettingsFile().c_str(), "rb");
    std::string bytes(1 << 20, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    benchmark::DoNotOptimize(tavi::platform::ProfileDocument::Parse(bytes));
  }
}

BENCHMARK(BM_TickOverThousandFeedsNoneDue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceOneReadOfTheFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
