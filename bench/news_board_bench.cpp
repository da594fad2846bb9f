// The News Board under a long run of the host: 10,000 articles announced to
// a real board one by one (a person notices a check run that stalls on its
// board, so it must take well over 20,000 notices a second), a sort of the
// 10,000 rows by each column (under 50 ms, the moment a click feels slow),
// and the preview page of all of them built.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/winsys.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_input.h"
#include "platform/winsys_list_view.h"
#include "res/news_board_ids.h"
#include "ui/news_board.h"
#include "ui/window_messages.h"

namespace {

namespace platform = tavi::platform;

constexpr int kArticles = 10000;

// A folder for the board's settings file, removed after.
class SettingsFolder {
 public:
  SettingsFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "board-bench-XXXXXX").string();
    path_ = mkdtemp(pattern.data()) != nullptr ? pattern : "";
  }
  ~SettingsFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  tavi::WindowContext Context() const {
    tavi::WindowContext context;
    context.paths.settings_file = path_ + "/tavi.ini";
    return context;
  }

 private:
  std::string path_;
};

// Article `index` of a run that mixes feeds, authors, newsboxes and days,
// arriving in no order of any column.
tavi::NewArticleNotice Notice(int index) {
  const int scrambled = index * 7919 % kArticles;
  const std::string day = std::to_string(1 + scrambled % 28);
  const std::string hour = std::to_string(10 + scrambled % 13);
  tavi::NewArticleNotice notice;
  notice.HeaderText = "From: Author " + std::to_string(scrambled % 97) + "\r\nSubject: Story " +
                      std::to_string(scrambled) + "\r\nFeed: Feed " +
                      std::to_string(scrambled % 31) + "\r\nWebsite: http://example.com/" +
                      std::to_string(index) + "\r\nDate: " + day + " Dec 2026 " + hour +
                      ":15:00\r\nDownloaded: 12/" + day + "/2026 " + hour + ":20:00\r\n\r\n";
  notice.MessageText = "<p>The story's first paragraph, as the feed gave it.</p>";
  notice.Newsbox = "Box " + std::to_string(scrambled % 50);
  notice.MailboxText = "/data/" + notice.Newsbox + ".mbx";
  return notice;
}

std::vector<tavi::NewArticleNotice> Notices() {
  std::vector<tavi::NewArticleNotice> notices;
  for (int index = 0; index < kArticles; ++index) notices.push_back(Notice(index));
  return notices;
}

void Announce(platform::WindowHandle board, const std::vector<tavi::NewArticleNotice>& notices) {
  const platform::MessageId new_article = tavi::RegisteredWindowMessages().new_article;
  for (const tavi::NewArticleNotice& notice : notices)
    platform::SendMessage(board, new_article, 0, reinterpret_cast<platform::LParam>(&notice));
}

int RowCount(platform::WindowHandle board) {
  return platform::GetListViewRowCount(
      platform::GetDlgItem(board, tavi::res::news_board::kHeadlineList));
}

void BM_AnnounceArticles(benchmark::State& state) {
  const SettingsFolder folder;
  const tavi::WindowContext context = folder.Context();
  const std::vector<tavi::NewArticleNotice> notices = Notices();
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    platform::WindowHandle board;
    tavi::EnsureNewsBoard(board, context);
    state.ResumeTiming();
    Announce(board, notices);
    state.PauseTiming();
    rows = RowCount(board);
    tavi::CloseNewsBoard(board);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kArticles);
  if (rows != kArticles) state.SkipWithError("the board does not hold every article");
}
BENCHMARK(BM_AnnounceArticles)->Unit(benchmark::kMillisecond)->UseRealTime();

// A click on the header of column `state.range(0)`, each of which sorts all
// rows (the first click on the sort column turns its order).
void BM_SortByColumn(benchmark::State& state) {
  const SettingsFolder folder;
  platform::WindowHandle board;
  tavi::EnsureNewsBoard(board, folder.Context());
  Announce(board, Notices());
  const platform::WindowHandle list =
      platform::GetDlgItem(board, tavi::res::news_board::kHeadlineList);
  for (auto _ : state) {
    platform::InjectListViewColumnClick(list, static_cast<int>(state.range(0)));
    platform::Message message;
    while (platform::PeekMessage(message, true)) platform::DispatchMessage(message);
  }
  if (RowCount(board) != kArticles) state.SkipWithError("rows were lost");
  tavi::CloseNewsBoard(board);
}
BENCHMARK(BM_SortByColumn)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BuildPreview(benchmark::State& state) {
  std::vector<tavi::HeadlineEntry> entries;
  for (const tavi::NewArticleNotice& notice : Notices())
    entries.push_back(tavi::MakeHeadlineEntry(notice));
  std::vector<const tavi::HeadlineEntry*> rows;
  for (const tavi::HeadlineEntry& entry : entries) rows.push_back(&entry);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string html = tavi::BuildPreviewHtml(rows);
    bytes = html.size();
    benchmark::DoNotOptimize(html);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_BuildPreview)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
