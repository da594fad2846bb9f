#pragma once

// The host's message loop, as the mail client runs it on its user-interface
// thread: every message goes first to the dialog manager of the modeless
// dialog that holds its window (the plug-in's windows are such dialogs), so
// that Tab, Enter, Escape and a dialog's accelerators work in them as in a
// modal one; everything else is dispatched.

namespace tavi::web {

// Gets and handles the calling thread's messages until WM_QUIT.
void RunHostMessageLoop();

}  // namespace tavi::web
