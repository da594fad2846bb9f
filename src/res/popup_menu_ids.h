#pragma once

// The popup menus, menu resource 115: one submenu per window that shows a
// popup. The entries' commands are named in their windows' headers; the menu
// itself is in popup_menus.cpp.

namespace tavi::res::popup_menu {

inline constexpr int kMenu = 115;

// Submenus by position.
inline constexpr int kNewsboxSubmenu = 0;    // the main window's Newsboxes list
inline constexpr int kSpareSubmenu = 1;      // holds nothing; keeps the positions
inline constexpr int kNewsBoardSubmenu = 2;  // the News Board's headline list

}  // namespace tavi::res::popup_menu
