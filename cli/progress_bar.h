#pragma once

// How the command shows a running check: on a terminal, one line redrawn in
// place with a progress bar and the two status lines; otherwise (a pipe, a
// file) each new status line printed once, in order, without the bar.

#include <chrono>
#include <iosfwd>
#include <string>

#include "fetch/check_window.h"

namespace tavi::cli {

// One terminal line of `width` columns (at least 20): "[#####-----] 45% "
// then the general line, " | " and the info line, cut to fit. The percent is
// held to 0..100. Line breaks and tabs in the texts become blanks; the line
// holds no control characters.
std::string RenderProgressLine(int percent, const std::string& general, const std::string& info,
                               std::size_t width);

// The columns of the terminal on standard output; 80 when unknown.
std::size_t TerminalWidth();

// The check engine's window for the command.
class TerminalCheckWindow final : public CheckWindow {
 public:
  // `terminal`: draw the bar on `out`; a new general line is drawn at once,
  // info and progress changes at most every `redraw_every`.
  TerminalCheckWindow(std::ostream& out, bool terminal, std::size_t width,
                      std::chrono::milliseconds redraw_every = std::chrono::milliseconds(50));

  void SetGeneralLine(const std::string& text) override;
  void SetInfoLine(const std::string& text) override;
  void SetProgress(int percent) override;
  void PumpMessages() override;
  void TakeFocus() override {}
  platform::WindowHandle NewsBoardWindow() const override { return {}; }

  // Ends the display: on a terminal the bar line is cleared so that what
  // follows starts on a clean line.
  void Finish();

 private:
  void Redraw(bool now);

  std::ostream& out_;
  bool terminal_;
  std::size_t width_;
  std::chrono::milliseconds redraw_every_;
  std::chrono::steady_clock::time_point last_drawn_{};
  bool drawn_ = false;
  std::string general_;
  std::string info_;
  int percent_ = 0;
};

}  // namespace tavi::cli
