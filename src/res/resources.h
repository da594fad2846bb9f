#pragma once

// Tavi's window resources by id, as the window system and a front end ask for
// them: dialog templates, menus, toolbars, accelerator tables and icons.
// Everything returned lives as long as the program and never changes; a caller
// that fills a menu or composes a caption at run time works on its own copy.

#include <span>

#include "platform/window_templates.h"

namespace tavi::res {

// The dialog template `id` (101 the main window, 114 the News Board, ...);
// nullptr when Tavi has no dialog of that id.
const platform::DialogTemplate* FindDialog(int id);

// The menu `id`: 115 the popup menus, 215 the article viewer's menu bar;
// nullptr when there is none.
const platform::MenuTemplate* FindMenu(int id);

// The toolbar `id`: 293 the News Board's, 218 the article viewer's; nullptr
// when there is none.
const platform::ToolbarTemplate* FindToolbar(int id);

// The accelerator table `id` (228, the main window's); nullptr when there is
// none.
const platform::AcceleratorTable* FindAcceleratorTable(int id);

// The icon `id` as an SVG image; nullptr when Tavi has no icon of that id.
const platform::IconImage* FindIcon(int id);

// Every icon, in ascending order of id, each id once: what a front end serves.
std::span<const platform::IconImage> AllIcons();

}  // namespace tavi::res
