#pragma once

// The article viewer's window (template 124): the live page behind the
// article's link or its stored body in the browser, the raw text in a pane
// on request, and the commands of its menu bar and toolbar. The operations
// behind the commands are plain functions of delivery/ (article_transfer.h,
// article_forward.h, article_file.h, transfer_targets.h); the window only
// chooses the text they get and shows what they report.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/winsys.h"
#include "ui/dialog_window.h"
#include "ui/window_context.h"

namespace tavi {

// What the window is showing: the live page or the body stored in the
// newsbox.
enum class ArticleViewMode { kFullArticle = -1, kNewsboxArticle = 0 };

class ArticleViewerWindow : public DialogWindow {
 public:
  // `header_block`: the article's header lines ending in CR LF, then the
  // empty line; `stored_body`: its HTML body as the newsbox keeps it.
  // `destroyed` runs when the window has been destroyed (after its last
  // handler), so that the owner may let the object go.
  ArticleViewerWindow(const WindowContext& context, std::string header_block,
                      std::string stored_body,
                      std::function<void(const ArticleViewerWindow*)> destroyed);
  ~ArticleViewerWindow();

  // The text that Forward, Save and Transfer use: the live page in Full
  // Article mode once one was captured, else the stored body.
  const std::string& CurrentBody() const;
  ArticleViewMode ViewMode() const { return view_mode_; }
  bool SourceShown() const { return source_shown_; }

  // Writes the placement keys (the rectangle only in the normal state) and
  // destroys the window: the Close command.
  void Close();

 private:
  platform::LResult OnInitDialog(platform::WParam, platform::LParam);
  platform::LResult OnSize(platform::WParam, platform::LParam);
  platform::LResult OnNotify(platform::WParam, platform::LParam);
  platform::LResult OnNcDestroy(platform::WParam, platform::LParam);
  platform::LResult OnTransferDropDown(const platform::NotifyHeader&);
  void MapCommands();
  void ReadHeaders();
  void CreateToolbarAbove();
  void RestorePlacement();
  void SetUpBrowser();
  void BuildTransferMenu();
  void LayOut();

  void OnDownloadComplete();
  void OnBeforeNavigate(platform::WParam, platform::LParam);
  void ShowView(ArticleViewMode mode);
  void OnFullArticle();
  void OnNewsboxArticle();
  void OnSource();
  void ShowSource(bool show);
  void CheckViewCommands();

  void OnTransferTo(std::int32_t target_number);
  void TakeFocusBack();
  void OnForwardInline();
  void OnForwardAsAttachment();
  void OnSaveAs();
  void OnTransferButton();
  void OnMaximize();
  void OnRestore();
  void OnMinimize();
  void OnStretch();
  void OnCenter();
  void OnTopics();
  void OnReleaseNotes();
  void OnAbout();
  void OnNothing() {}
  void SavePlacement() const;
  platform::LResult OnCommandRange(platform::WParam, platform::LParam);

  const WindowContext context_;
  const std::string header_block_;
  const std::string stored_body_;
  std::function<void(const ArticleViewerWindow*)> destroyed_;
  std::string feed_;
  std::string subject_;
  std::string date_;
  std::string link_;
  ArticleViewMode view_mode_ = ArticleViewMode::kFullArticle;
  bool source_shown_ = false;
  // Set only when a load in Full Article mode completed without failing:
  // an error page is never an article.
  bool live_page_captured_ = false;
  std::string live_page_html_;
  std::string live_page_text_;
  platform::WindowHandle toolbar_;
  int toolbar_height_ = 0;
};

}  // namespace tavi
