#pragma once

// How the command shows a running check on a terminal: one line redrawn in
// place, with a progress bar, the alias of the feed at hand and the article
// at hand. The window's own texts ("Checking ... for new articles...") are
// not shown: each feed's outcome is printed as a line of its own by the
// command. Without a terminal (a pipe, a file) nothing is drawn.

#include <chrono>
#include <iosfwd>
#include <string>

#include "engine/check_window.h"

namespace tavi::cli {

// One terminal line of `width` columns (at least 20): "[#####-----] 45% "
// then the label, " | " and the info line, cut to fit. The percent is held
// to 0..100. The texts are made printable (PrintableText), so a line break
// or a control character from a feed shows as an escape.
std::string RenderProgressLine(int percent, const std::string& label, const std::string& info,
                               std::size_t width);

// The columns of the terminal on standard output; 80 when unknown.
std::size_t TerminalWidth();

// The check engine's window for the command.
class TerminalCheckWindow final : public CheckWindow {
 public:
  // `terminal`: draw on `out`; a new feed is drawn at once, info and
  // progress changes at most every `redraw_every`.
  TerminalCheckWindow(std::ostream& out, bool terminal, std::size_t width,
                      std::chrono::milliseconds redraw_every = std::chrono::milliseconds(50));

  // The feed whose check starts: its alias labels the bar.
  void BeginFeed(const std::string& alias);
  // The window's status texts stay out of the terminal.
  void SetGeneralLine(const std::string&) override {}
  void SetInfoLine(const std::string& text) override;
  void SetProgress(int percent) override;
  void PumpMessages() override;
  void TakeFocus() override {}
  // The command has no News Board.
  bool HasNewsBoard() const override { return false; }
  void AnnounceNewArticle(const NewArticleNotice&) override {}
  void AnnounceDeliveryEnd() override {}
  void BringNewsBoardForward() override {}

  // Clears the bar's line, so that what is printed next starts on a clean
  // line; the next change draws it again.
  void Clear();

 private:
  void Redraw(bool now);

  std::ostream& out_;
  bool terminal_;
  std::size_t width_;
  std::chrono::milliseconds redraw_every_;
  std::chrono::steady_clock::time_point last_drawn_{};
  bool drawn_ = false;
  std::string label_;
  std::string info_;
  int percent_ = 0;
};

}  // namespace tavi::cli
