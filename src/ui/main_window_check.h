#pragma once

// The main window's side of a check run: the CheckWindow through which the
// engine shows its progress in the window's two progress lines and its bar,
// keeps the window responsive, and reaches the News Board. It holds the
// run's delivery state, prepared when the window opens.

#include "engine/check_engine.h"
#include "engine/check_window.h"
#include "platform/winsys.h"
#include "ui/news_board_link.h"

namespace tavi {

class MainWindowCheck : public CheckWindow {
 public:
  // `window`: the open main window; `news_board`: none when there is no
  // board; `stop_requested`: the window's Stop, read while a document
  // downloads. Prepares the run's delivery state now.
  MainWindowCheck(platform::WindowHandle window, const CheckPaths& paths,
                  platform::WindowHandle news_board, const bool& stop_requested);

  CheckRun& Run() { return run_; }

  void SetGeneralLine(const std::string& text) override;
  void SetInfoLine(const std::string& text) override;
  void SetProgress(int percent) override;
  void PumpMessages() override;
  // Stop was pressed, or the program is to quit.
  bool StopRequested() const override { return stop_requested_ || quit_seen_; }
  void TakeFocus() override;
  bool HasNewsBoard() const override { return board_.Present(); }
  void AnnounceNewArticle(const NewArticleNotice& notice) override;
  void AnnounceDeliveryEnd() override;
  void BringNewsBoardForward() override;

 private:
  platform::WindowHandle window_;
  const bool& stop_requested_;
  bool quit_seen_ = false;
  NewsBoardLink board_;
  CheckRun run_;
};

}  // namespace tavi
