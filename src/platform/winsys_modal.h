#pragma once

// What every modal wait of the window system shares (a modal dialog, a
// message box waiting for a front end, a popup menu): the owner blocked
// while it lasts, and a message loop that keeps the thread's windows alive.

#include <functional>

#include "platform/winsys.h"

namespace tavi::platform::winsys_internal {

// Blocks the top-level window of `owner` for as long as it lives: marks it
// as blocked by a modal loop and disables it when it was enabled. Release
// (or the destructor) unmarks it and enables it again when this block
// disabled it. An `owner` that is none or stale blocks nothing.
class ModalBlock {
 public:
  explicit ModalBlock(WindowHandle owner);
  ~ModalBlock();
  ModalBlock(const ModalBlock&) = delete;
  ModalBlock& operator=(const ModalBlock&) = delete;

  void Release();

 private:
  WindowHandle top_level_;
  bool disabled_here_ = false;
};

// Gets and handles the calling thread's messages (through
// TranslateDialogInput, then DispatchMessage) until `done` returns true,
// which it is asked before each message. Returns false when a WM_QUIT ended
// the loop; the quit is then put back for the outer loop.
bool RunModalLoop(const std::function<bool()>& done);

}  // namespace tavi::platform::winsys_internal
