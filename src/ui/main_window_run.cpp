// The main window's runs: Download of the selected feeds and the cache
// import. Both end the window.

#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_mouse.h"
#include "res/cursors.h"
#include "res/main_window_ids.h"
#include "ui/main_window.h"
#include "ui/main_window_check.h"

namespace tavi {
namespace {

using namespace res::main_window;

// What a run disables; Stop is the one control it enables.
constexpr int kRunLockedControls[] = {kFeedsList,       kNewsboxesList, kAddButton,
                                      kEditButton,      kDeleteButton,  kDownloadButton,
                                      kNewsboardButton, kHelpButton,    kCloseButton};

}  // namespace

void MainWindow::OnDownload() {
  std::vector<FeedRecord> selected;
  for (const int row : SelectedFeedRows()) selected.push_back(*FeedOfRow(row));
  if (selected.empty()) return;
  SetRunning(true);
  stop_requested_ = false;
  RunObserver observer;
  observer.stop_requested = [this] { return stop_requested_; };
  summary_ = DownloadFeeds(check_->Run(), selected, context_.feed_file, *check_, observer);
  SetRunning(false);
  Close(summary_.new_articles);
}

platform::LResult MainWindow::OnImportCache(platform::WParam, platform::LParam) {
  if (mode_ != Mode::kCacheImport) return 0;
  check_->SetGeneralLine("Loading from cache... Please wait.");
  std::vector<FeedOutcome> feeds;
  check_->Run().ImportCache([&feeds](const FeedOutcome& feed) { feeds.push_back(feed); });
  summary_ = {std::move(feeds), check_->Run().TotalNewArticles(), false};
  Close(summary_.new_articles);
  return 0;
}

// While a run goes on the window shows that it is busy, and only Stop
// answers.
void MainWindow::SetRunning(bool running) {
  const int activity =
      mode_ == Mode::kCacheImport ? res::kImportActivityCursor.id : res::kDownloadActivityCursor.id;
  platform::SetWindowCursor(Item(kActivityPicture), running ? activity : 0);
  platform::SetWindowCursor(Handle(), running ? res::kBusyCursor.id : 0);
  SetControlsEnabled(!running);
  EnableItem(kStopButton, running);
}

void MainWindow::SetControlsEnabled(bool enabled) {
  for (const int id : kRunLockedControls) EnableItem(id, enabled);
}

}  // namespace tavi
