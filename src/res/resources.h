#pragma once

// Tavi's window resources by id, as the window system and a front end ask for
// them: dialog templates. Everything returned lives as long as the program
// and never changes; a caller that composes a caption at run time works on
// its own copy.

#include "platform/window_templates.h"

namespace tavi::res {

// The dialog template `id` (101 the main window, 114 the News Board, ...);
// nullptr when Tavi has no dialog of that id.
const platform::DialogTemplate* FindDialog(int id);

}  // namespace tavi::res
