#pragma once

// The News Board window until the board itself is built: a hidden window of
// the board's template and class, so that the main window can create it,
// the check run can address it, and "uiDisplayWindow" shows it. It answers
// every other message as a plain dialog does, except that its close box only
// hides it (the board outlives the main window) and "uiIzlazEudora", the
// host's farewell, destroys it.

#include "platform/winsys.h"

namespace tavi {

// Creates the hidden board for `parent` (the desktop: no owner) when
// `news_board` is not a live window yet, and stores it there; the window
// lives until it is destroyed. Returns the board; none when it could not be
// created.
platform::WindowHandle EnsureNewsBoard(platform::WindowHandle& news_board,
                                       platform::WindowHandle parent);

}  // namespace tavi
