#pragma once

// Where a window that remembers its place opens: the place read from the
// settings file, kept on the screen. A settings file edited by hand, or
// written on a larger screen, may name any number, and a window placed off
// the screen could not be reached again.

#include "platform/winsys_types.h"

namespace tavi {

// The top-left corner for a window of `size` at `stored` on a screen of
// `screen`: each coordinate moved into the range that keeps the whole window
// on the screen, or to 0 when the window is larger than the screen that way.
platform::Point KeepOnScreen(platform::Point stored, platform::Size size, platform::Size screen);

// Moves `window` to the stored place (KeepOnScreen on the desktop's size),
// keeping its size. False when the window is gone.
bool PlaceWindow(platform::WindowHandle window, platform::Point stored);

}  // namespace tavi
