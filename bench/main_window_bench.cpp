// Opening the main window over 1,000 subscribed feeds delivering into 50
// newsboxes: the settings file read, both lists filled and sorted, the
// first feed selected. It must take well under 200 ms, the moment a person
// notices a window that is slow to open. The peer is the floor for the same
// reading: one pass over the settings file with std::getline, keeping every
// feed's keys in a map.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/winsys.h"
#include "platform/winsys_list_view.h"
#include "res/main_window_ids.h"
#include "store/settings_layout.h"
#include "ui/main_window.h"

namespace {

namespace settings = tavi::settings;

constexpr int kFeeds = 1000;
constexpr int kNewsboxes = 50;

// A data folder with the newsboxes' files and the settings file, removed
// after.
class DataFolder {
 public:
  DataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "window-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
    for (int box = 0; box < kNewsboxes; ++box) std::ofstream(Newsbox(box) + ".mbx");
    WriteSettings();
  }
  ~DataFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string SettingsFile() const { return path_ + "/tavi.ini"; }
  const std::string& path() const { return path_; }

 private:
  std::string Newsbox(int box) const { return path_ + "/Box" + std::to_string(box); }

  void WriteSettings() const {
    std::ofstream file(SettingsFile(), std::ios::binary);
    file << "[" << settings::kAliasesSection << "]\r\n";
    for (int feed = 0; feed < kFeeds; ++feed)
      file << "Feed " << feed << "=The Feed Number " << feed << "\r\n";
    for (int feed = 0; feed < kFeeds; ++feed) {
      const int box = feed % kNewsboxes;
      file << "[Feed " << feed << "]\r\n"
           << settings::kName << "=The Feed Number " << feed << "\r\n"
           << settings::kUrl << "=http://127.0.0.1:9/feed" << feed << ".xml\r\n"
           << settings::kNewsbox << "=Box" << box << "\r\n"
           << settings::kNewsboxPath << "=" << Newsbox(box) << ".mbx\r\n"
           << settings::kDownloadReferringArticles << "=0\r\n"
           << settings::kDownloadOnlyNewArticles << "=1\r\n"
           << settings::kLastArticle << "=12/6/2026 1:55:15 PM\r\n"
           << settings::kAutoCheck << "=" << feed % 2 << "\r\n"
           << settings::kIntervalMinutes << "=30\r\n";
    }
  }

  std::string path_;
};

void BM_OpenMainWindow(benchmark::State& state) {
  const DataFolder data;
  tavi::WindowContext context;
  context.paths.settings_file = data.SettingsFile();
  context.paths.data_folder = data.path();
  context.paths.config_dir = data.path();
  context.product_name = "Tavi";
  tavi::platform::WindowHandle news_board;
  int rows = 0;
  for (auto _ : state) {
    tavi::MainWindow window(context, tavi::MainWindow::Mode::kInteractive, news_board, {});
    const tavi::platform::WindowHandle handle = window.Create({});
    rows = tavi::platform::GetListViewRowCount(
        tavi::platform::GetDlgItem(handle, tavi::res::main_window::kFeedsList));
  }
  tavi::platform::DestroyWindow(news_board);
  if (rows != kFeeds) state.SkipWithError("the Feeds list is not full");
}
BENCHMARK(BM_OpenMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PeerReadSettingsWithGetline(benchmark::State& state) {
  const DataFolder data;
  std::size_t keys = 0;
  for (auto _ : state) {
    std::map<std::string, std::map<std::string, std::string>> sections;
    std::ifstream file(data.SettingsFile(), std::ios::binary);
    std::string line;
    std::map<std::string, std::string>* section = nullptr;
    while (std::getline(file, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty() && line.front() == '[') {
        section = &sections[line.substr(1, line.find(']') - 1)];
        continue;
      }
      const auto equals = line.find('=');
      if (section != nullptr && equals != std::string::npos)
        (*section)[line.substr(0, equals)] = line.substr(equals + 1);
    }
    keys = sections.size();
    benchmark::DoNotOptimize(sections);
  }
  if (keys != kFeeds + 1) state.SkipWithError("the settings were not all read");
}
BENCHMARK(BM_PeerReadSettingsWithGetline)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
