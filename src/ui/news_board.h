#pragma once

// The News Board (template 114): the headlines of the articles delivered
// since the host started, across all feeds, over a preview page of them
// all. The check run adds a row for each article it moves into a newsbox
// ("uiNewArticle") and asks for the preview once it is done
// ("uiUpdateBlogReport"); the person sorts the rows by a column, opens an
// article in the article viewer or its web page in the browser, opens the
// newsbox that holds it, or removes rows.
//
// The board is created hidden, with the desktop as parent, the first time
// the main window opens, and lives until the plug-in ends: its close box
// only saves its settings and hides it. It shows itself only on
// "uiDisplayWindow" 1 and on each new article. Its size, place, state,
// splitter place, column widths and sort order are kept in the settings
// file; its rows are kept nowhere.

#include <memory>
#include <string>
#include <vector>

#include "platform/winsys.h"
#include "ui/dialog_window.h"
#include "ui/news_board_rows.h"
#include "ui/splitter_bar.h"
#include "ui/window_context.h"

namespace tavi {

class NewsBoard : public DialogWindow {
 public:
  // `context` is copied; the board reads its settings file, host windows and
  // About texts.
  explicit NewsBoard(WindowContext context);
  ~NewsBoard();

 private:
  // The preview's own page, into which the board writes its rows; the only
  // address the preview ever loads.
  static constexpr const char* kEmptyPage = "about:blank";

  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  platform::LResult OnDisplayWindow(platform::WParam, platform::LParam);
  platform::LResult OnWindowPosChanging(platform::WParam, platform::LParam);
  platform::LResult OnNewArticle(platform::WParam, platform::LParam);
  platform::LResult OnUpdateBlogReport(platform::WParam, platform::LParam);
  platform::LResult OnExitHost(platform::WParam, platform::LParam);
  platform::LResult OnClose(platform::WParam, platform::LParam);
  platform::LResult OnSize(platform::WParam, platform::LParam);
  platform::LResult OnSplitterMoved(platform::WParam, platform::LParam);
  platform::LResult OnColumnClick(const platform::NotifyHeader&);
  platform::LResult OnSelectionChanged(const platform::NotifyHeader&);
  platform::LResult OnDoubleClick(const platform::NotifyHeader&);
  platform::LResult OnRightClick(const platform::NotifyHeader&);
  platform::LResult OnListKey(const platform::NotifyHeader&);
  platform::LResult OnBeforeNavigate(const platform::NotifyHeader&);
  platform::LResult OnNewWindow(const platform::NotifyHeader&);
  platform::LResult OnDownloadComplete(const platform::NotifyHeader&);
  void OnOpen();
  void OnBrowse();
  void OnRemove();
  void OnOpenNewsbox();
  void OnSelectAll();
  void OnAbout();
  void OnNothing();

  // Creation.
  void SetUpList();
  void SetUpToolbar();
  void SetUpSplitter();
  void PlaceFromSettings();
  // Rows and what follows them.
  std::vector<const HeadlineEntry*> Rows() const;  // in list order
  void Sort();
  void UpdateToolbar();
  void ShowPopup(platform::Point screen_point);
  void RebuildPreview();
  void SendToBack();
  std::vector<int> SelectedRows() const;
  HeadlineEntry* EntryOfRow(int row) const;
  void Layout();
  void SaveSettings() const;
  void Show(bool show);

  const WindowContext context_;
  // The rows' entries, each owned here and named by its row's user value.
  std::vector<std::unique_ptr<HeadlineEntry>> entries_;
  SplitterBar splitter_;
  platform::MenuHandle menu_;  // menu 115; its "NewsBoard" submenu pops up
  bool visible_ = false;       // set only by the board itself
  int sort_key_ = 0;
  int sort_order_ = kSortAscending;
  int splitter_top_ = 0;  // the bar's client y
  int toolbar_height_ = 0;
  std::string preview_html_;
  // Set between navigating the preview to the empty page and that page's
  // arrival, when the rows' HTML goes in.
  bool preview_pending_ = false;
};

// Creates the hidden board, with the desktop as parent, when `news_board`
// is not a live window yet, and stores it there; the board lives until
// CloseNewsBoard or until its window is destroyed. Returns the board; none
// when it could not be created. On the host's user-interface thread only.
platform::WindowHandle EnsureNewsBoard(platform::WindowHandle& news_board,
                                       const WindowContext& context);

// The plug-in's farewell: tells the board "uiIzlazEudora" (wParam 1, lParam
// 1), so that a visible board saves its settings, then destroys it and
// clears `news_board`, before the module that answers for it goes. Nothing
// when there is no board.
void CloseNewsBoard(platform::WindowHandle& news_board);

}  // namespace tavi
