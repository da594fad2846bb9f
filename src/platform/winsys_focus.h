#pragma once

// Which windows take input: the enabled state, the keyboard focus (one
// window per thread, as the system keeps it) and the foreground window.

#include "platform/winsys.h"

namespace tavi::platform {

// Enables or disables the window. A disabled window, and every window
// inside it, takes no input; disabling the window that has the focus takes
// the focus away. False for a stale handle.
bool EnableWindow(WindowHandle window, bool enable);

// The window's own enabled flag; false for a stale handle.
bool IsWindowEnabled(WindowHandle window);

// Gives the keyboard focus of the calling thread to `window` (none: to no
// window), sending WM_KILLFOCUS to the window that had it and WM_SETFOCUS to
// the new one. Returns the window that had the focus; none, changing
// nothing, when `window` is stale or belongs to another thread.
WindowHandle SetFocus(WindowHandle window);

// The window that has the calling thread's keyboard focus, or none.
WindowHandle GetFocus();

// The focus window of `thread`, or none.
WindowHandle GetThreadFocus(ThreadId thread);

// Brings the window's top-level window to the top of the top-level windows,
// where a person works with it. False for a stale handle.
bool SetForegroundWindow(WindowHandle window);

// The topmost visible top-level window, or none.
WindowHandle GetForegroundWindow();

// The top-level window that holds `window` (itself when it is top-level);
// none for a stale handle.
WindowHandle GetTopLevelWindow(WindowHandle window);

}  // namespace tavi::platform
