#pragma once

// How a window that hosts check runs tells the News Board of them: with the
// registered window messages the News Board listens to. The window that owns
// a run (the main window) hands the engine's News Board calls to this.

#include "engine/check_window.h"
#include "platform/winsys.h"

namespace tavi {

class NewsBoardLink {
 public:
  // `news_board` may be none: then every call does nothing.
  explicit NewsBoardLink(platform::WindowHandle news_board) : news_board_(news_board) {}

  bool Present() const { return static_cast<bool>(news_board_); }
  // "uiNewArticle" (wParam 0, lParam the notice), sent: the News Board runs
  // on the same thread and has read the notice when this returns.
  void AnnounceNewArticle(const NewArticleNotice& notice) const;
  // "uiUpdateBlogReport" (wParam 1, lParam 1), without waiting.
  void AnnounceDeliveryEnd() const;
  // Brings the News Board to the top.
  void BringForward() const;

 private:
  platform::WindowHandle news_board_;
};

}  // namespace tavi
