#pragma once

// Dialogs built from templates: modeless (CreateDialog) and modal
// (DialogBox), their controls addressed by id, and the keys a dialog
// handles itself (IsDialogMessage): Enter for the default button, Escape
// for Cancel, Tab and Shift+Tab along the tab stops, and the dialog's
// accelerators before everything else.
//
// A dialog is a top-level window of the template's class (kDialogClass when
// the template names none), owned by the top-level window of the parent it
// is created for. Its controls are child windows of their kinds, in the
// template's order, which is the tab order.

#include <functional>
#include <optional>
#include <string>

#include "platform/window_templates.h"
#include "platform/winsys.h"

namespace tavi::platform {

// The system's dialog class.
inline constexpr const char* kDialogClass = "#32770";

// Handles one message of a dialog: returns the message's result when it
// handled the message, nullopt when not, in which case the dialog's default
// handling runs (WM_CLOSE becomes a WM_COMMAND of IDCANCEL; everything else
// goes to DefWindowProc). For WM_INITDIALOG a result of 0 means "I have set
// the focus myself"; nullopt or any other result gives the focus to the
// first tab stop.
using DialogProcedure = std::function<std::optional<LResult>(WindowHandle dialog, MessageId message,
                                                             WParam wparam, LParam lparam)>;

// Creates a modeless dialog from `dialog_template` for `parent` (none or the
// desktop: no owner): the dialog window, then each control at the pixel
// rectangle of its template (DialogUnitsToPixels at the template's font
// size) with its text, id, style and icon; then sends WM_INITDIALOG with
// `init_parameter`. A kCentered dialog is centred on its owner, or on the
// desktop without one; any other is placed at the template's x and y from
// its owner's client area (the screen without an owner). The dialog stays
// hidden until the caller shows it. Returns none when `parent` is stale.
WindowHandle CreateDialog(const DialogTemplate& dialog_template, WindowHandle parent,
                          DialogProcedure procedure, LParam init_parameter);

// Runs a modal dialog: creates it as CreateDialog does, shows it, disables
// its owner's top-level window, and handles the calling thread's messages
// (keys through the dialogs' IsDialogMessage) until EndDialog; then
// re-enables the owner, gives the focus back to where it was, destroys the
// dialog and returns the result given to EndDialog. A WM_QUIT ends the loop
// (it is put back for the outer loop) with -1, as does a dialog destroyed
// without EndDialog. -1 when the dialog cannot be created.
int DialogBox(const DialogTemplate& dialog_template, WindowHandle owner, DialogProcedure procedure,
              LParam init_parameter);

// Ends a dialog with `result`: a modal one leaves its loop (DialogBox then
// destroys it); a modeless one is hidden (its creator destroys it). False
// when `dialog` is not a dialog.
bool EndDialog(WindowHandle dialog, int result);

// True when the window is a dialog.
bool IsDialog(WindowHandle window);

// Which of Enter and Escape a dialog takes as dialog keys. A key that is
// not a dialog key reaches the focused control like any other key.
struct DialogKeys {
  bool enter = true;
  bool escape = true;
};
// False when `dialog` is not a dialog.
bool SetDialogKeys(WindowHandle dialog, DialogKeys keys);

// Gives the dialog an accelerator table, translated into WM_COMMAND (code
// kAcceleratorCommandCode) before any other key handling. An empty table
// removes it. False when `dialog` is not a dialog.
bool SetDialogAccelerators(WindowHandle dialog, const AcceleratorTable& table);

// Handles `message` when it is meant for `dialog` or one of its windows,
// as the system's dialog manager does, and returns true; returns false,
// doing nothing, for messages of other windows. In order:
// - a key that the dialog's accelerators name becomes their WM_COMMAND;
// - Tab and Shift+Tab move the focus to the next or previous tab stop;
// - Enter, when it is a dialog key: a list view, tree view or multi-line
//   edit with the focus takes it itself (a list or tree tells its parent
//   NM_RETURN); else a focused push button is clicked; else the default
//   button is clicked (nothing when it is disabled), and without one the
//   dialog gets WM_COMMAND with IDOK;
// - Escape, when it is a dialog key: WM_COMMAND with IDCANCEL (with the
//   Cancel button's handle when there is one), unless that button is
//   disabled;
// - everything else is dispatched to its window.
bool IsDialogMessage(WindowHandle dialog, const Message& message);

// IsDialogMessage for the dialog that holds the message's window; false
// when no dialog holds it. Every message loop of the window system calls
// it before dispatching, as a host's loop calls it for its modeless
// dialogs.
bool TranslateDialogInput(const Message& message);

// The dialog's direct child with control id `id`; none when there is none.
WindowHandle GetDlgItem(WindowHandle dialog, int id);

// The window's control id; 0 for a stale handle or a window without one.
int GetDlgCtrlID(WindowHandle window);

// SetWindowText and GetWindowText of the control `id`. False, or "", when
// there is no such control.
bool SetDlgItemText(WindowHandle dialog, int id, const std::string& text);
std::string GetDlgItemText(WindowHandle dialog, int id);

// Checks or unchecks the check box `id` (BM_SETCHECK), and reads it. False
// when there is no such control.
bool CheckDlgButton(WindowHandle dialog, int id, bool checked);
bool IsDlgButtonChecked(WindowHandle dialog, int id);

// The next (or, with `previous`, the previous) enabled, visible tab stop of
// the dialog after `control`, wrapping around; the first one when `control`
// is none or not in the dialog. None when the dialog has no tab stop.
WindowHandle GetNextDlgTabItem(WindowHandle dialog, WindowHandle control, bool previous);

}  // namespace tavi::platform
