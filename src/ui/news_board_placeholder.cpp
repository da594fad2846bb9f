#include "ui/news_board_placeholder.h"

#include "platform/winsys_dialog.h"
#include "res/news_board_ids.h"
#include "res/resources.h"
#include "ui/window_messages.h"

namespace tavi {
namespace {

// "Show yourself" answered 1 tells the sender to bring the board forward.
constexpr platform::LResult kShown = 1;

std::optional<platform::LResult> BoardProcedure(platform::WindowHandle board,
                                                platform::MessageId message, platform::WParam,
                                                platform::LParam) {
  if (message == RegisteredWindowMessages().display_window) {
    platform::ShowWindow(board, platform::SW_SHOW);
    return kShown;
  }
  // The host is unloading the plug-in, whose code answers for the window.
  if (message == RegisteredWindowMessages().exit_host) {
    platform::DestroyWindow(board);
    return 0;
  }
  if (message == platform::WM_CLOSE) {
    platform::ShowWindow(board, platform::SW_HIDE);
    return 0;
  }
  return std::nullopt;
}

}  // namespace

platform::WindowHandle EnsureNewsBoard(platform::WindowHandle& news_board,
                                       platform::WindowHandle parent) {
  if (platform::IsWindow(news_board)) return news_board;
  const platform::DialogTemplate* board_template = res::FindDialog(res::news_board::kDialog);
  if (board_template == nullptr) return {};
  news_board = platform::CreateDialog(*board_template, parent, BoardProcedure, 0);
  return news_board;
}

}  // namespace tavi
