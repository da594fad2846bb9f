// The list view's procedure: what it does with a person's keys and clicks.

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_list_view.h"

namespace tavi::platform::winsys_internal {
namespace {

// Every key first tells the parent which key it was; Enter then also says
// that the view was "activated".
void PressKey(WindowHandle list, const Message& key) {
  ListViewNotify notify;
  notify.key = static_cast<int>(key.wparam);
  notify.modifiers = KeyModifiersOf(key);
  NotifyParent(list, notify.header, LVN_KEYDOWN);
  if (notify.key != virtual_key::kReturn) return;
  ListViewNotify activated;
  NotifyParent(list, activated.header, NM_RETURN);
}

}  // namespace

LResult ListViewProcedure(WindowHandle list, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(list);
      return 0;
    case WM_KEYDOWN:
      PressKey(list, {list, message, wparam, lparam});
      return 0;
  }
  return DefWindowProc(list, message, wparam, lparam);
}

}  // namespace tavi::platform::winsys_internal
