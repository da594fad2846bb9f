#pragma once

// A person's input from the page, as one flat JSON object naming what was
// done and to which window, injected into the window system (winsys_input.h)
// on the host's user-interface thread. "shift", "ctrl" and "alt" (booleans,
// false when absent) are the modifier keys held; points are in the window's
// client area; rectangles on the screen.
//   {"kind": "click", "window"}
//   {"kind": "mouse", "window", "action": "move" | "left_down" | "left_up" |
//    "left_double" | "right_down" | "right_up", "x", "y"}
//   {"kind": "key", "window" (0: the focus), "key" (a virtual key), "down"}
//   {"kind": "key_press", "window" (0: the focus), "key"}
//   {"kind": "text", "window", "text"}
//   {"kind": "list_click", "window", "row" (-1: below the rows),
//    "click": "left" | "right" | "double"}
//   {"kind": "column_click", "window", "column"}
//   {"kind": "tree_click", "window", "item", "click"}
//   {"kind": "tree_expand", "window", "item", "expand"}
//   {"kind": "select", "window", "index"}: an item picked from a drop-down list
//   {"kind": "command", "window", "command"}: a menu bar's entry, or a toolbar's button
//   {"kind": "rect", "window", "left", "top", "right", "bottom"}: moved or sized
//   {"kind": "system_command", "window", "command": "close" | "minimize" | "maximize" |
//    "restore"}
//   {"kind": "message_box", "id", "answer"}
//   {"kind": "popup_menu", "id", "command" (0: dismissed)}
// Answers: 200 {} when the input was handed to the window's thread; 400 for
// a missing or bad member; 404 for a window that is gone or not the
// plug-in's, or a message box or popup menu that does not wait; 409 for a
// window that takes no input now (hidden, disabled, blocked by a modal
// window) or not this input (no such row, item, command or answer). Nothing
// changes unless the answer is 200.

#include "web/json_request.h"
#include "web/page_router.h"

namespace tavi::web {

PageResponse InjectPageInput(const JsonRequest& body);

}  // namespace tavi::web
