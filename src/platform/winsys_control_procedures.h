#pragma once

// The window system's own control procedures and the way controls tell
// their parent what happened; shared by the control sources and nothing
// else.

#include "platform/winsys.h"

namespace tavi::platform::winsys_internal {

// The procedure a control of `kind` gets when its creator gives none.
WindowProcedure ControlProcedure(ControlKind kind);

// The procedures of the complex controls, each in its control's source.
LResult ListViewProcedure(WindowHandle list, MessageId message, WParam wparam, LParam lparam);
LResult TreeViewProcedure(WindowHandle tree, MessageId message, WParam wparam, LParam lparam);
LResult ToolbarProcedure(WindowHandle toolbar, MessageId message, WParam wparam, LParam lparam);
LResult BrowserProcedure(WindowHandle browser, MessageId message, WParam wparam, LParam lparam);
LResult DropDownProcedure(WindowHandle list, MessageId message, WParam wparam, LParam lparam);

// Sends the control's parent WM_COMMAND with the control's id and `code`.
void CommandParent(WindowHandle control, int code);

// Fills in `header` (the control, its id, `code`) and sends the control's
// parent WM_NOTIFY with it; returns the parent's answer. `header` is the
// first member of the code's notification data.
LResult NotifyParent(WindowHandle control, NotifyHeader& header, int code);

}  // namespace tavi::platform::winsys_internal
