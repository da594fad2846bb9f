#pragma once

// Menus: made from a MenuTemplate or built entry by entry, shown as a
// window's menu bar or as a popup menu at a point. A command picked from a
// menu bar or a popup menu is WM_COMMAND (code 0, no control) to the window.
//
// A submenu is a menu of its own, held by its entry and destroyed with the
// menu that holds it; a menu bar is destroyed with its window.
//
// A popup menu waits for a person to pick a command: when a front end has
// declared itself present (SetFrontEndPresent, winsys_input.h), in a modal
// loop until it answers (AnswerPopupMenu); without one, the installed
// handler picks (tests), or the menu is dismissed at once. Every popup menu
// is recorded (ShownPopupMenus).

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_templates.h"
#include "platform/winsys.h"

namespace tavi::platform {

// One entry of a menu: a command, a separator, or a submenu.
struct MenuEntry {
  std::string text;  // "&Open\tEnter"
  int command = 0;   // 0 for a separator or a submenu
  bool separator = false;
  bool disabled = false;
  bool checked = false;
  MenuHandle submenu;
};

// A menu with the template's entries (submenus made too); the caller owns
// it (DestroyMenu) until it becomes a window's menu bar or a submenu.
MenuHandle CreateMenuFromTemplate(const MenuTemplate& menu_template);

// An empty menu, owned as above.
MenuHandle CreateMenu();

// Destroys a menu and its submenus. False for a stale handle.
bool DestroyMenu(MenuHandle menu);

// The number of entries; -1 for a stale handle.
int GetMenuEntryCount(MenuHandle menu);

// The entry at `position`; nullopt when there is none.
std::optional<MenuEntry> GetMenuEntry(MenuHandle menu, int position);

// The submenu of the entry at `position`; none when it has none.
MenuHandle GetSubMenu(MenuHandle menu, int position);

// Inserts `entry` at `position` (-1 or past the end: at the end); a submenu
// it names is then held by this menu. False for a stale menu or submenu.
bool InsertMenuEntry(MenuHandle menu, int position, const MenuEntry& entry);

// Removes the entry at `position`, destroying its submenu. False when there
// is no such entry.
bool DeleteMenuEntry(MenuHandle menu, int position);

// Enables or disables, checks or unchecks, every entry with `command`, in
// the menu and its submenus. False when no entry has it.
bool EnableMenuCommand(MenuHandle menu, int command, bool enabled);
bool CheckMenuCommand(MenuHandle menu, int command, bool checked);

// The first entry with `command`, in the menu and its submenus (depth
// first); nullopt when none has it.
std::optional<MenuEntry> FindMenuCommand(MenuHandle menu, int command);

// Makes `menu` the window's menu bar (none: no menu bar). The frame grows by
// the bar, so the client area shrinks (WM_SIZE). A menu bar it had before
// is not destroyed. False for a stale window or menu.
bool SetMenu(WindowHandle window, MenuHandle menu);

// The window's menu bar, or none.
MenuHandle GetMenu(WindowHandle window);

// One popup menu as it was shown.
struct PopupMenuRequest {
  int id = 0;  // process-wide number, by which a front end answers it
  MenuHandle menu;
  Point point;  // screen
  WindowHandle owner;
  ThreadId thread = 0;
};

// Picks a command of a popup menu (returns it), or dismisses it (returns 0).
using PopupMenuHandler = std::function<int(const PopupMenuRequest& request)>;

// Installs the handler that answers popup menus when no front end is
// present, process-wide; an empty function dismisses every menu at once.
void SetPopupMenuHandler(PopupMenuHandler handler);

// Shows `menu` at `point` (screen) for `owner` and waits until a command is
// picked or the menu is dismissed. A picked command, when it is an enabled
// entry of the menu, is posted to `owner` as WM_COMMAND, and the result is
// true; false when the menu was dismissed, when `menu` is stale, or when a
// WM_QUIT ended the wait (the quit is put back for the outer loop).
bool TrackPopupMenu(MenuHandle menu, Point point, WindowHandle owner);

// Every popup menu shown since the start or the last ClearShownPopupMenus,
// oldest first.
std::vector<PopupMenuRequest> ShownPopupMenus();
void ClearShownPopupMenus();

}  // namespace tavi::platform
