#include "platform/winsys_controls.h"

#include <algorithm>

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

bool HasStyle(WindowHandle window, std::uint32_t style) {
  return (GetWindowStyle(window) & style) != 0;
}

// A button's click: a check box with kAutoCheck toggles, then the parent
// hears of it. A disabled button takes no click.
void ClickButton(WindowHandle button) {
  if (!IsWindowEnabled(button)) return;
  if (GetWindowKind(button) == ControlKind::kCheckBox &&
      HasStyle(button, control_style::kAutoCheck)) {
    const bool checked = SendMessage(button, BM_GETCHECK, 0, 0) != 0;
    SendMessage(button, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
  }
  winsys_internal::CommandParent(button, BN_CLICKED);
}

bool SetChecked(WindowHandle button, bool checked) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, button);
  if (record == nullptr) return false;
  record->checked = checked;
  winsys_internal::Touch(registry, *record);
  return true;
}

bool IsChecked(WindowHandle button) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, button);
  return record != nullptr && record->checked;
}

// True when a mouse message's point lies in the window's client area.
bool InClientArea(WindowHandle window, LParam lparam) {
  const std::optional<Rect> client = GetClientRect(window);
  return client && client->Contains(PointFromLParam(lparam));
}

// Buttons and check boxes: pressed with the mouse, they hold the capture
// until the button comes up, and count as clicked only when it comes up
// over them, as a person can still slide off a button to take the press
// back.
LResult ButtonProcedure(WindowHandle button, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(button);
      SetCapture(button);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() != button) return 0;
      ReleaseCapture();
      if (InClientArea(button, lparam)) ClickButton(button);
      return 0;
    case WM_KEYUP:
      if (wparam == static_cast<WParam>(virtual_key::kSpace)) ClickButton(button);
      return 0;
    case BM_CLICK:
      ClickButton(button);
      return 0;
    case BM_SETCHECK:
      SetChecked(button, wparam == BST_CHECKED);
      return 0;
    case BM_GETCHECK:
      return IsChecked(button) ? BST_CHECKED : BST_UNCHECKED;
  }
  return DefWindowProc(button, message, wparam, lparam);
}

LResult LabelProcedure(WindowHandle label, MessageId message, WParam wparam, LParam lparam) {
  if (message == WM_LBUTTONUP && HasStyle(label, control_style::kNotify)) {
    winsys_internal::CommandParent(label, STN_CLICKED);
    return 0;
  }
  return DefWindowProc(label, message, wparam, lparam);
}

// Text a person typed replaces the edit's text; a digits-only edit refuses
// every other character, as the system's refuses each keystroke.
void TypeText(WindowHandle edit, std::uint64_t serial) {
  std::optional<std::string> text = winsys_internal::TakeTypedText(serial);
  if (!text) return;
  if (HasStyle(edit, control_style::kDigitsOnly)) {
    std::erase_if(*text, [](char c) { return c < '0' || c > '9'; });
  }
  SetWindowText(edit, *text);
}

LResult EditProcedure(WindowHandle edit, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_SETTEXT: {
      const LResult stored = DefWindowProc(edit, message, wparam, lparam);
      winsys_internal::CommandParent(edit, EN_CHANGE);
      return stored;
    }
    case WM_LBUTTONDOWN:
      SetFocus(edit);
      return 0;
    case winsys_internal::kTextInput:
      TypeText(edit, static_cast<std::uint64_t>(lparam));
      return 0;
    case WM_KEYDOWN:
      // A multi-line edit takes Enter as a line break.
      if (wparam == static_cast<WParam>(virtual_key::kReturn) &&
          HasStyle(edit, control_style::kMultiline) && !HasStyle(edit, control_style::kReadOnly)) {
        SetWindowText(edit, GetWindowText(edit) + "\r\n");
      }
      return 0;
  }
  return DefWindowProc(edit, message, wparam, lparam);
}

LResult ProgressProcedure(WindowHandle bar, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case PBM_SETPOS:
      return SetProgressPosition(bar, static_cast<int>(wparam));
    case PBM_GETPOS:
      return GetProgressPosition(bar);
  }
  return DefWindowProc(bar, message, wparam, lparam);
}

}  // namespace

namespace winsys_internal {

WindowProcedure ControlProcedure(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
      return LabelProcedure;
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
      return ButtonProcedure;
    case ControlKind::kEdit:
      return EditProcedure;
    case ControlKind::kProgressBar:
      return ProgressProcedure;
    case ControlKind::kListView:
      return winsys_internal::ListViewProcedure;
    case ControlKind::kTreeView:
      return winsys_internal::TreeViewProcedure;
    case ControlKind::kToolbar:
      return winsys_internal::ToolbarProcedure;
    case ControlKind::kBrowser:
      return winsys_internal::BrowserProcedure;
    case ControlKind::kDropDownList:
      return winsys_internal::DropDownProcedure;
    case ControlKind::kIcon:
    case ControlKind::kGroupBox:
    case ControlKind::kRichText:
      return {};
  }
  return {};
}

void CommandParent(WindowHandle control, int code) {
  const WindowHandle parent = GetParent(control);
  if (!parent) return;
  SendMessage(parent, WM_COMMAND, MakeWParam(GetDlgCtrlID(control), code), HandleToLParam(control));
}

LResult NotifyParent(WindowHandle control, NotifyHeader& header, int code) {
  header = {control, GetDlgCtrlID(control), code};
  const WindowHandle parent = GetParent(control);
  if (!parent) return 0;
  return SendMessage(parent, WM_NOTIFY, static_cast<WParam>(header.id),
                     reinterpret_cast<LParam>(&header));
}

}  // namespace winsys_internal

const char* ControlClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel:
    case ControlKind::kIcon:
      return "Static";
    case ControlKind::kGroupBox:
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
      return "Button";
    case ControlKind::kEdit:
      return "Edit";
    case ControlKind::kListView:
      return "SysListView32";
    case ControlKind::kTreeView:
      return "SysTreeView32";
    case ControlKind::kProgressBar:
      return "msctls_progress32";
    case ControlKind::kBrowser:
      return "HtmlView";
    case ControlKind::kRichText:
      return "RichTextView";
    case ControlKind::kToolbar:
      return "ToolbarWindow32";
    case ControlKind::kDropDownList:
      return "ComboBox";
  }
  return "Static";
}

bool SetWindowIcon(WindowHandle window, int icon_id) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  record->icon_id = icon_id;
  winsys_internal::Touch(registry, *record);
  return true;
}

int GetWindowIcon(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? 0 : record->icon_id;
}

int SetProgressPosition(WindowHandle bar, int position) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, bar);
  if (record == nullptr || record->kind != ControlKind::kProgressBar) return -1;
  const int previous = record->progress;
  record->progress = std::clamp(position, 0, 100);
  winsys_internal::Touch(registry, *record);
  return previous;
}

int GetProgressPosition(WindowHandle bar) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, bar);
  if (record == nullptr || record->kind != ControlKind::kProgressBar) return -1;
  return record->progress;
}

}  // namespace tavi::platform
