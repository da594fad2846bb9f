#include "platform/winsys_dialog.h"

#include <algorithm>

#include "platform/winsys_controls.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_modal.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindDialogRecord;
using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

Rect PixelRect(const UnitRect& units, int font_size) {
  const UnitRect pixels = DialogUnitsToPixels(units, font_size);
  return {pixels.x, pixels.y, pixels.x + pixels.width, pixels.y + pixels.height};
}

// Where a dialog of `size` (window pixels) goes: centred on `area` but kept
// on the desktop, as the system centres windows.
Point CenteredOn(const Rect& area, Size size) {
  const Rect desktop = *GetWindowRect(GetDesktopWindow());
  const int left = area.left + (area.Width() - size.width) / 2;
  const int top = area.top + (area.Height() - size.height) / 2;
  return {std::clamp(left, 0, std::max(0, desktop.right - size.width)),
          std::clamp(top, 0, std::max(0, desktop.bottom - size.height))};
}

// The dialog's window rectangle on the screen for `owner` (none: no owner).
Rect PlaceDialog(const DialogTemplate& dialog_template, WindowHandle owner) {
  const Rect client = PixelRect(dialog_template.rect, dialog_template.font_size);
  const Rect frame = AdjustWindowRect(client, dialog_template.style, false);
  const Size size{frame.Width(), frame.Height()};
  Point place;
  if ((dialog_template.style & dialog_style::kCentered) != 0) {
    place = CenteredOn(*GetWindowRect(owner ? owner : GetDesktopWindow()), size);
  } else {
    // The template's x and y count from the owner's client area.
    const Point origin = owner ? ClientToScreen(owner, {}) : Point{};
    place = {origin.x + client.left, origin.y + client.top};
  }
  return {place.x, place.y, place.x + size.width, place.y + size.height};
}

// What the dialog does with a message its procedure left: WM_CLOSE asks
// for Cancel, WM_INITDIALOG asks for the default focus.
LResult DefDialogProc(WindowHandle dialog, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_INITDIALOG:
      return 1;
    case WM_CLOSE:
      SendMessage(dialog, WM_COMMAND, MakeWParam(IDCANCEL, BN_CLICKED),
                  HandleToLParam(GetDlgItem(dialog, IDCANCEL)));
      return 0;
  }
  return DefWindowProc(dialog, message, wparam, lparam);
}

WindowProcedure DialogWindowProcedure(DialogProcedure procedure) {
  return [procedure = std::move(procedure)](WindowHandle dialog, MessageId message, WParam wparam,
                                            LParam lparam) -> LResult {
    if (procedure) {
      if (const std::optional<LResult> result = procedure(dialog, message, wparam, lparam)) {
        return *result;
      }
    }
    return DefDialogProc(dialog, message, wparam, lparam);
  };
}

WindowSpec ControlDescription(const ControlTemplate& control, WindowHandle dialog, int font_size) {
  WindowSpec description;
  description.class_name = ControlClassName(control.kind);
  description.title = control.text;
  description.parent = dialog;
  description.visible = (control.style & control_style::kHidden) == 0;
  description.enabled = (control.style & control_style::kDisabled) == 0;
  description.rect = PixelRect(control.rect, font_size);
  description.kind = control.kind;
  description.control_id = control.id;
  description.style = control.style;
  description.icon_id = control.icon_id;
  return description;
}

// The dialog window, hidden, marked as a dialog; none when `parent` is stale.
WindowHandle CreateDialogWindow(const DialogTemplate& dialog_template, WindowHandle parent,
                                DialogProcedure procedure, bool modal) {
  if (parent && !IsWindow(parent)) return {};
  const WindowHandle owner =
      parent && parent != GetDesktopWindow() ? GetTopLevelWindow(parent) : WindowHandle{};
  WindowSpec description;
  description.class_name =
      dialog_template.class_name.empty() ? kDialogClass : dialog_template.class_name;
  description.title = dialog_template.caption;
  description.owner = owner;
  description.visible = false;
  description.procedure = DialogWindowProcedure(std::move(procedure));
  description.rect = PlaceDialog(dialog_template, owner);
  description.style = dialog_template.style;
  description.icon_id = dialog_template.icon_id;
  const WindowHandle dialog = CreateWindow(description);
  if (!dialog) return {};
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, dialog);
  record->dialog = std::make_unique<winsys_internal::DialogData>();
  record->dialog->modal = modal;
  return dialog;
}

// Creates the controls in template order, each below the ones before it.
bool CreateControls(const DialogTemplate& dialog_template, WindowHandle dialog) {
  for (const ControlTemplate& control : dialog_template.controls) {
    const WindowSpec description = ControlDescription(control, dialog, dialog_template.font_size);
    if (!winsys_internal::CreateWindowInPlace(description, false)) return false;
  }
  return true;
}

WindowHandle MakeDialog(const DialogTemplate& dialog_template, WindowHandle parent,
                        DialogProcedure procedure, LParam init_parameter, bool modal) {
  const WindowHandle dialog =
      CreateDialogWindow(dialog_template, parent, std::move(procedure), modal);
  if (!dialog) return {};
  if (!CreateControls(dialog_template, dialog)) {
    DestroyWindow(dialog);
    return {};
  }
  const WindowHandle first = GetNextDlgTabItem(dialog, {}, false);
  if (SendMessage(dialog, WM_INITDIALOG, first.id, init_parameter) != 0 && first) SetFocus(first);
  return dialog;
}

// Reads a live dialog's data under the lock; `fallback` when `dialog` is
// not one.
template <typename Result, typename Read>
Result ReadDialog(WindowHandle dialog, Result fallback, Read read) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindDialogRecord(registry, dialog);
  if (record == nullptr) return fallback;
  return read(*record->dialog);
}

// Changes a live dialog's data under the lock; false when `dialog` is not one.
template <typename Change>
bool ChangeDialog(WindowHandle dialog, Change change) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindDialogRecord(registry, dialog);
  if (record == nullptr) return false;
  change(*record->dialog);
  winsys_internal::Touch(registry, *record);
  return true;
}

}  // namespace

WindowHandle CreateDialog(const DialogTemplate& dialog_template, WindowHandle parent,
                          DialogProcedure procedure, LParam init_parameter) {
  return MakeDialog(dialog_template, parent, std::move(procedure), init_parameter, false);
}

int DialogBox(const DialogTemplate& dialog_template, WindowHandle owner, DialogProcedure procedure,
              LParam init_parameter) {
  const WindowHandle focus = GetFocus();
  const WindowHandle dialog =
      MakeDialog(dialog_template, owner, std::move(procedure), init_parameter, true);
  if (!dialog) return -1;
  winsys_internal::ModalBlock block(GetOwner(dialog));
  ShowWindow(dialog, SW_SHOW);
  winsys_internal::RunModalLoop([dialog] {
    return ReadDialog(dialog, true,
                      [](const winsys_internal::DialogData& data) { return data.ended; });
  });
  const int result = ReadDialog(dialog, -1, [](const winsys_internal::DialogData& data) {
    return data.ended ? data.result : -1;
  });
  // The owner comes back before the dialog goes, so that the focus can
  // return to it.
  block.Release();
  DestroyWindow(dialog);
  if (IsWindow(focus)) SetFocus(focus);
  return result;
}

bool EndDialog(WindowHandle dialog, int result) {
  bool modal = false;
  const bool ended = ChangeDialog(dialog, [&](winsys_internal::DialogData& data) {
    data.ended = true;
    data.result = result;
    modal = data.modal;
  });
  if (!ended) return false;
  if (!modal) ShowWindow(dialog, SW_HIDE);
  // A modal loop on another thread looks at the flag when it next wakes.
  const ThreadId owner = GetWindowThreadId(dialog);
  if (owner != CurrentThreadId()) PostThreadMessage(owner, WM_NULL, 0, 0);
  return true;
}

bool IsDialog(WindowHandle window) {
  return ReadDialog(window, false, [](const winsys_internal::DialogData&) { return true; });
}

bool SetDialogKeys(WindowHandle dialog, DialogKeys keys) {
  return ChangeDialog(dialog, [&](winsys_internal::DialogData& data) { data.keys = keys; });
}

bool SetDialogAccelerators(WindowHandle dialog, const AcceleratorTable& table) {
  return ChangeDialog(dialog,
                      [&](winsys_internal::DialogData& data) { data.accelerators = table; });
}

WindowHandle GetDlgItem(WindowHandle dialog, int id) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, dialog);
  if (record == nullptr) return {};
  const auto found = std::ranges::find_if(record->children, [&](WindowHandle child) {
    return FindRecord(registry, child)->control_id == id;
  });
  return found == record->children.end() ? WindowHandle{} : *found;
}

int GetDlgCtrlID(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record == nullptr ? 0 : record->control_id;
}

bool SetDlgItemText(WindowHandle dialog, int id, const std::string& text) {
  const WindowHandle item = GetDlgItem(dialog, id);
  return item && SetWindowText(item, text);
}

std::string GetDlgItemText(WindowHandle dialog, int id) {
  return GetWindowText(GetDlgItem(dialog, id));
}

bool CheckDlgButton(WindowHandle dialog, int id, bool checked) {
  const WindowHandle item = GetDlgItem(dialog, id);
  if (!item) return false;
  SendMessage(item, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

bool IsDlgButtonChecked(WindowHandle dialog, int id) {
  const WindowHandle item = GetDlgItem(dialog, id);
  return item && SendMessage(item, BM_GETCHECK, 0, 0) == static_cast<LResult>(BST_CHECKED);
}

}  // namespace tavi::platform
