#pragma once

// The host's windows that Tavi's windows are opened over, found by their
// class as on the real host: its main window and, inside it, the area that
// holds its mailbox windows.

#include "platform/winsys.h"

namespace tavi {

// The host's top-level window of class "EudoraMainWindow"; none when the
// host shows none.
platform::WindowHandle FindHostMainWindow();

// The child of class "MDIClient" of `host_main_window`; none when there is
// none.
platform::WindowHandle FindHostDocumentArea(platform::WindowHandle host_main_window);

}  // namespace tavi
