#include "cli/progress_bar.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <ostream>

#include "cli/terminal_text.h"
#include "platform/winsys.h"

namespace tavi::cli {
namespace {

constexpr std::size_t kBarCells = 20;
constexpr std::size_t kNarrowest = 20;
constexpr std::size_t kDefaultWidth = 80;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The first `columns` characters of UTF-8 text, one column each.
std::string FirstColumns(const std::string& text, std::size_t columns) {
  std::size_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (IsContinuationByte(text[at])) continue;
    if (seen == columns) return text.substr(0, at);
    ++seen;
  }
  return text;
}

std::string Bar(int percent) {
  const std::size_t filled = static_cast<std::size_t>(percent) * kBarCells / 100;
  std::string bar = "[";
  bar.append(filled, '#').append(kBarCells - filled, '-').append("] ");
  return bar;
}

std::string Percent(int percent) {
  std::string number = std::to_string(percent) + "% ";
  return std::string(5 - number.size(), ' ') + number;
}

}  // namespace

std::string RenderProgressLine(int percent, const std::string& label, const std::string& info,
                               std::size_t width) {
  percent = std::clamp(percent, 0, 100);
  width = std::max(width, kNarrowest);
  std::string line = Bar(percent) + Percent(percent) + PrintableText(label);
  if (!info.empty()) line.append(" | ").append(PrintableText(info));
  // One column stays free so that the cursor never wraps to the next line.
  return FirstColumns(line, width - 1);
}

std::size_t TerminalWidth() {
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return kDefaultWidth;
  return size.ws_col;
}

TerminalCheckWindow::TerminalCheckWindow(std::ostream& out, bool terminal, std::size_t width,
                                         std::chrono::milliseconds redraw_every)
    : out_(out), terminal_(terminal), width_(width), redraw_every_(redraw_every) {}

void TerminalCheckWindow::BeginFeed(const std::string& alias) {
  label_ = alias;
  info_.clear();
  percent_ = 0;
  if (terminal_) Redraw(true);
}

void TerminalCheckWindow::SetInfoLine(const std::string& text) {
  info_ = text;
  if (terminal_) Redraw(false);
}

void TerminalCheckWindow::SetProgress(int percent) {
  percent_ = percent;
  if (terminal_) Redraw(false);
}

void TerminalCheckWindow::PumpMessages() { platform::PumpWaitingMessages(); }

void TerminalCheckWindow::Clear() {
  if (!terminal_ || !drawn_) return;
  out_ << "\r" << std::string(width_ > 0 ? width_ - 1 : 0, ' ') << "\r" << std::flush;
  drawn_ = false;
}

void TerminalCheckWindow::Redraw(bool now) {
  const auto instant = std::chrono::steady_clock::now();
  if (!now && drawn_ && instant - last_drawn_ < redraw_every_) return;
  last_drawn_ = instant;
  drawn_ = true;
  out_ << "\r" << RenderProgressLine(percent_, label_, info_, width_) << "\x1b[K" << std::flush;
}

}  // namespace tavi::cli
