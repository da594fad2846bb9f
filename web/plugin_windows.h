#pragma once

// Which windows the page draws as the plug-in's: every window but the
// host's own. The page draws the host itself (its mailboxes, messages and
// status bar from the host's routes), so the host's main window with all it
// holds, and tavi-host's hidden windows, are left out of what the page is
// told and refused as the target of input.

#include <string_view>

#include "platform/winsys_types.h"

namespace tavi::web {

// True for the classes of the host's windows (its main window, document
// area, mailbox and message windows, status bar) and of tavi-host's hidden
// windows.
bool IsHostWindowClass(std::string_view class_name);

// True when `window` exists and neither it nor its top-level window is of a
// host window class. On the user-interface thread.
bool IsPluginWindow(platform::WindowHandle window);

}  // namespace tavi::web
