#pragma once

// The window that hosts a check run: the main window, or the tavi command.
// The check engine reports through it and keeps it responsive between steps.

#include <cstdint>
#include <string>

namespace tavi {

// What accompanies each new article to the News Board.
struct NewArticleNotice {
  std::string HeaderText;   // the moved message's header block and the blank line
  std::string MessageText;  // its body
  std::int32_t MessageValue = 0;
  std::string Newsbox;
  std::string MailboxText;  // the newsbox's file path
  std::int32_t MailboxValue = 0;
};

class CheckWindow {
 public:
  virtual ~CheckWindow() = default;

  // The upper status line: what the run is doing.
  virtual void SetGeneralLine(const std::string& text) = 0;
  // The lower status line: the article at hand.
  virtual void SetInfoLine(const std::string& text) = 0;
  // The progress bar, 0 to 100.
  virtual void SetProgress(int percent) = 0;
  // Handles the window messages waiting for the calling thread, so the
  // window repaints and its Stop button can be pressed.
  virtual void PumpMessages() = 0;
  // Asked between pumps while a feed document downloads: true ends the
  // transfer at once, and the check fails with the cancel's text.
  virtual bool StopRequested() const { return false; }
  // Takes the focus back after a host window was closed under it.
  virtual void TakeFocus() = 0;

  // The News Board, when the window has one: it hears of each article moved
  // into a newsbox (handled before the call returns, so the notice may be
  // reused afterwards), of the end of a delivery that moved any, and is
  // brought forward when a run brought articles.
  virtual bool HasNewsBoard() const = 0;
  virtual void AnnounceNewArticle(const NewArticleNotice& notice) = 0;
  virtual void AnnounceDeliveryEnd() = 0;
  virtual void BringNewsBoardForward() = 0;
};

}  // namespace tavi
