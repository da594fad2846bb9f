#pragma once

// Tavi's window resources by id, as the window system and a front end ask for
// them: dialog templates, menus, toolbars and accelerator tables. Everything
// returned lives as long as the program and never changes; a caller that fills
// a menu or composes a caption at run time works on its own copy.

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

}  // namespace tavi::res
