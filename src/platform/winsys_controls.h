#pragma once

// The simple controls and what they keep: labels, icons and group boxes
// (text, icon), buttons and check boxes (checked state), edits (text),
// progress bars (position), browser and rich text views (text). The list
// view, tree view and toolbar have headers of their own.
//
// What the controls tell their parent, as WM_COMMAND with
// MakeWParam(control id, code) and the control's handle:
// - a button or check box clicked (mouse released over it, Space while it
//   has the focus, BM_CLICK): BN_CLICKED; a check box with kAutoCheck
//   toggles itself first, any other keeps its state for its parent to set;
// - a label with kNotify clicked: STN_CLICKED;
// - an edit's text changed (SetWindowText or typed): EN_CHANGE. A
//   kDigitsOnly edit keeps only the digits of typed text; a kReadOnly one
//   takes no typing.
// Clicking a button, check box, edit, list view or tree view gives it the
// focus.

#include "platform/winsys.h"

namespace tavi::platform {

// The class names the controls get, by kind.
const char* ControlClassName(ControlKind kind);

// Sets the icon that a window shows (a dialog's own icon, an icon control's
// picture). False for a stale handle.
bool SetWindowIcon(WindowHandle window, int icon_id);

// The window's icon id; 0 for none or a stale handle.
int GetWindowIcon(WindowHandle window);

// Sets a progress bar's position, held to 0..100 (PBM_SETPOS does the same).
// Returns the previous position; -1 when `bar` is not a progress bar.
int SetProgressPosition(WindowHandle bar, int position);

// The progress bar's position; -1 when `bar` is not a progress bar.
int GetProgressPosition(WindowHandle bar);

}  // namespace tavi::platform
