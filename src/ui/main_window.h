#pragma once

// The main window (template 101): the newsboxes in use beside the subscribed
// feeds, the buttons that add, edit and delete feeds, Download of the
// selected feeds with Stop and the run's progress, Newsboard, Help and
// Close. A Download always ends the window; so does opening a newsbox in the
// host. What the window leaves behind (Summary) is the run its creator
// reports.
//
// In cache-import mode the window shows itself with every control disabled,
// imports the background cache when it receives kImportCacheMessage, and
// ends itself.
//
// The window runs on the host's user-interface thread, and so does every
// check it starts: the engine keeps it responsive between steps, so Stop is
// handled while a feed downloads.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/check_engine.h"
#include "engine/download_run.h"
#include "platform/winsys.h"
#include "platform/winsys_messages.h"
#include "ui/dialog_window.h"
#include "ui/main_window_rows.h"
#include "ui/window_context.h"

namespace tavi {

// Posted once to a cache-import window: import now.
inline constexpr platform::MessageId kImportCacheMessage = platform::WM_APP + 16;

// Opens Feed Properties over `owner` for the feed stored under `alias` (""
// for a new feed); true when a definition was stored.
using EditFeedFunction =
    std::function<bool(platform::WindowHandle owner, const std::string& alias)>;

class MainWindowCheck;

class MainWindow : public DialogWindow {
 public:
  enum class Mode { kInteractive, kCacheImport };

  // `context` must outlive the window; `news_board` is where the board's
  // handle is kept for the life of the plug-in (the window creates the
  // board there the first time); `edit_feed` opens Feed Properties.
  MainWindow(const WindowContext& context, Mode mode, platform::WindowHandle& news_board,
             EditFeedFunction edit_feed);
  ~MainWindow();

  // The last run: the feeds checked, in order, and the articles they brought.
  // Its LastResult() is kNotCheckedYet when nothing was checked.
  const RunSummary& Summary() const { return summary_; }
  // The window ended because a newsbox was opened in the host.
  bool OpenedNewsbox() const { return opened_newsbox_; }

 private:
  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  platform::LResult OnTimer(platform::WParam, platform::LParam);
  platform::LResult OnUpdateGui(platform::WParam, platform::LParam);
  platform::LResult OnImportCache(platform::WParam, platform::LParam);
  platform::LResult OnIgnored(platform::WParam, platform::LParam);
  platform::LResult OnFeedsChanged(const platform::NotifyHeader&);
  platform::LResult OnFeedsDoubleClick(const platform::NotifyHeader&);
  platform::LResult OnFeedsReturn(const platform::NotifyHeader&);
  platform::LResult OnNewsboxesChanged(const platform::NotifyHeader&);
  platform::LResult OnNewsboxesOpen(const platform::NotifyHeader&);
  platform::LResult OnNewsboxesRightClick(const platform::NotifyHeader&);
  platform::LResult OnNewsboxesKey(const platform::NotifyHeader&);
  void OnAdd();
  void OnEdit();
  void OnDelete();
  void OnDownload();
  void OnStop();
  void OnNewsboard();
  void OnHelp();
  void OnAbout();
  void OnClose();
  void OnOpenNewsbox();
  void OnCloseNewsbox();
  void OnNothing();

  // Opening.
  void SetUpLists();
  void LoadFeeds();
  void SelectFirstFeed();
  // The Feeds rows.
  void AddFeedRow(const FeedRecord& feed);
  void AddNewsboxRow(const FeedRecord& feed);
  void SortLists();
  std::vector<int> SelectedFeedRows() const;
  const FeedRecord* FeedOfRow(int row) const;
  void ReloadFeedsAfterEdit(const std::vector<std::string>& aliases_before,
                            const std::string& edited_alias);
  void EditFeed(const std::string& alias);
  // Selection in one list follows the other.
  void FollowFeedSelection();
  void FollowNewsboxSelection();
  int SelectedNewsboxRow() const;
  // Edit and Delete for exactly one selected feed, Download for any.
  void UpdateFeedButtons(std::size_t selected_feeds);
  void ShowNewsboxMenu(platform::Point point);
  void ShowClock();
  void StartClock();
  void StopClock();
  // The run.
  void SetRunning(bool running);
  void SetControlsEnabled(bool enabled);
  void Close(int result);

  const WindowContext& context_;
  const Mode mode_;
  platform::WindowHandle& news_board_;
  const EditFeedFunction edit_feed_;
  std::vector<FeedRecord> feeds_;           // the Feeds rows' records, by user value
  std::vector<NewsboxEntry> newsboxes_;     // the Newsboxes rows' entries, by user value
  platform::MenuHandle newsbox_menu_;       // menu 115; its first submenu is shown
  std::unique_ptr<MainWindowCheck> check_;  // the window's side of a check run
  RunSummary summary_;
  bool stop_requested_ = false;
  bool opened_newsbox_ = false;
  // Set while the window itself changes a list's selection, so that the
  // change is not followed back into the other list.
  bool following_ = false;
};

}  // namespace tavi
