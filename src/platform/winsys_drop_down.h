#pragma once

// The drop-down list: a closed list of texts (items) of which at most one is
// chosen, shown in a box that opens the list when a person clicks it. A
// person picks an item with the mouse (InjectDropDownSelection) or moves the
// choice with Up and Down while the list has the focus; either way the parent
// hears WM_COMMAND with MakeWParam(control id, CBN_SELCHANGE) and the list's
// handle when the choice changed. A program's own SetDropDownSelection tells
// nobody, as the parent knows what it chose.

#include <string>

#include "platform/winsys.h"

namespace tavi::platform {

inline constexpr int CBN_SELCHANGE = 1;

// The functions below fail (false, -1, "") when `list` is not a drop-down
// list or an index is out of range.

// Adds an item at the end; returns its index.
int AddDropDownItem(WindowHandle list, const std::string& text);

// Removes every item; nothing is chosen afterwards.
bool ClearDropDownItems(WindowHandle list);

// The number of items; -1 when `list` is not a drop-down list.
int GetDropDownItemCount(WindowHandle list);

// The text of item `index`.
std::string GetDropDownItemText(WindowHandle list, int index);

// Chooses item `index`, or nothing with -1.
bool SetDropDownSelection(WindowHandle list, int index);

// The chosen item, or -1 when nothing is chosen (or `list` is no drop-down
// list).
int GetDropDownSelection(WindowHandle list);

}  // namespace tavi::platform
