#pragma once

// The window that hosts a check run: the main window, or the tavi command.
// The check engine reports through it and keeps it responsive between steps.

#include <string>

#include "platform/winsys.h"

namespace tavi {

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
  // Takes the focus back after a host window was closed under it.
  virtual void TakeFocus() = 0;
  // The News Board window that hears of new articles; none when there is
  // none.
  virtual platform::WindowHandle NewsBoardWindow() const = 0;
};

}  // namespace tavi
