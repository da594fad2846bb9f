// The tree view's procedure: what it does with a person's keys and clicks.

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_tree_view.h"

namespace tavi::platform::winsys_internal {

LResult TreeViewProcedure(WindowHandle tree, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(tree);
      return 0;
    case WM_KEYDOWN:
      if (wparam == static_cast<WParam>(virtual_key::kReturn)) {
        TreeViewNotify notify;
        NotifyParent(tree, notify.header, NM_RETURN);
      }
      return 0;
  }
  return DefWindowProc(tree, message, wparam, lparam);
}

}  // namespace tavi::platform::winsys_internal
