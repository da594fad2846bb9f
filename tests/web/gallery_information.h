#pragma once

// The gallery's Information menu: one entry for each way the plug-in's
// information dialog reports an outcome, each showing the real dialog
// modally over the gallery's window with sample inputs.

#include "gallery_windows.h"
#include "platform/window_templates.h"

namespace tavi::testing {

// The "&Information" menu of the gallery's menu bar.
platform::MenuItemTemplate InformationMenu();

// Shows the information dialog of the Information menu's entry `command`
// over `owner` until it is closed and logs "information COMMAND RESULT".
// False, showing nothing, for a command that is no entry of the menu.
bool ShowInformationFor(int command, platform::WindowHandle owner, GalleryLog& log);

}  // namespace tavi::testing
