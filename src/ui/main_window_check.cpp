#include "ui/main_window_check.h"

#include "platform/winsys_controls.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "res/main_window_ids.h"

namespace tavi {

using namespace res::main_window;

MainWindowCheck::MainWindowCheck(platform::WindowHandle window, const CheckPaths& paths,
                                 platform::WindowHandle news_board, const bool& stop_requested)
    : window_(window), stop_requested_(stop_requested), board_(news_board), run_(paths, *this) {}

void MainWindowCheck::SetGeneralLine(const std::string& text) {
  platform::SetDlgItemText(window_, kGeneralLine, text);
}

void MainWindowCheck::SetInfoLine(const std::string& text) {
  platform::SetDlgItemText(window_, kDetailsLine, text);
}

void MainWindowCheck::SetProgress(int percent) {
  platform::SetProgressPosition(platform::GetDlgItem(window_, kDownloadProgress), percent);
}

// The window's keys (Tab, its accelerators) keep working while a run goes
// on, as in the modal loop that the run interrupts.
void MainWindowCheck::PumpMessages() {
  platform::Message message;
  while (platform::PeekMessage(message, true)) {
    if (message.message == platform::WM_QUIT) {
      // Left for the modal loop, which ends on it; a download in progress
      // is not waited for.
      quit_seen_ = true;
      platform::PostQuitMessage(static_cast<int>(message.wparam));
      return;
    }
    if (!platform::TranslateDialogInput(message)) platform::DispatchMessage(message);
  }
}

void MainWindowCheck::TakeFocus() { platform::SetFocus(window_); }

void MainWindowCheck::AnnounceNewArticle(const NewArticleNotice& notice) {
  board_.AnnounceNewArticle(notice);
}

void MainWindowCheck::AnnounceDeliveryEnd() { board_.AnnounceDeliveryEnd(); }

void MainWindowCheck::BringNewsBoardForward() { board_.BringForward(); }

}  // namespace tavi
