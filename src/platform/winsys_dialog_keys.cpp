// The keys a dialog handles itself: its accelerators, Tab and Shift+Tab,
// Enter and Escape.

#include <algorithm>

#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindDialogRecord;
using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

bool IsTabStop(const WindowRecord& record) {
  return record.kind && (record.style & control_style::kTabStop) != 0 && record.visible &&
         record.enabled;
}

// The dialog that is `window` or holds it; none when no dialog does. Lock
// held.
WindowHandle DialogHolding(Registry& registry, WindowHandle window) {
  for (const WindowRecord* record = FindRecord(registry, window); record != nullptr;
       record = FindRecord(registry, record->parent)) {
    if (record->dialog) return window;
    window = record->parent;
  }
  return {};
}

// Controls that keep Enter for themselves instead of leaving it to the
// dialog.
bool TakesEnter(WindowHandle window) {
  const std::optional<ControlKind> kind = GetWindowKind(window);
  if (kind == ControlKind::kListView || kind == ControlKind::kTreeView) return true;
  return kind == ControlKind::kEdit && (GetWindowStyle(window) & control_style::kMultiline) != 0;
}

bool IsPushButton(WindowHandle window) { return GetWindowKind(window) == ControlKind::kButton; }

// The dialog's default button (the first with kDefaultButton), or none.
WindowHandle DefaultButton(WindowHandle dialog) {
  for (const WindowHandle child : GetChildWindows(dialog)) {
    if (IsPushButton(child) && (GetWindowStyle(child) & control_style::kDefaultButton) != 0) {
      return child;
    }
  }
  return {};
}

void SendCommand(WindowHandle dialog, int id, WindowHandle control) {
  SendMessage(dialog, WM_COMMAND, MakeWParam(id, BN_CLICKED), HandleToLParam(control));
}

// Enter as a dialog key; false when the focused control takes it itself.
bool PressEnter(WindowHandle dialog, WindowHandle focus) {
  if (TakesEnter(focus)) return false;
  if (IsPushButton(focus) && GetParent(focus) == dialog) {
    SendMessage(focus, BM_CLICK, 0, 0);
    return true;
  }
  const WindowHandle button = DefaultButton(dialog);
  if (!button) {
    SendCommand(dialog, IDOK, {});
  } else if (IsWindowEnabled(button)) {
    SendCommand(dialog, GetDlgCtrlID(button), button);
  }
  return true;
}

void PressEscape(WindowHandle dialog) {
  const WindowHandle cancel = GetDlgItem(dialog, IDCANCEL);
  if (cancel && !IsWindowEnabled(cancel)) return;
  SendCommand(dialog, IDCANCEL, cancel);
}

struct DialogKeySettings {
  DialogKeys keys;
  AcceleratorTable accelerators;
};

DialogKeySettings SettingsOf(WindowHandle dialog) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindDialogRecord(registry, dialog);
  if (record == nullptr) return {};
  return {record->dialog->keys, record->dialog->accelerators};
}

// Handles a key-down as the dialog's own; false when the key is left to
// the focused control.
bool HandleDialogKey(WindowHandle dialog, const Message& message) {
  const DialogKeySettings settings = SettingsOf(dialog);
  if (TranslateAccelerator(dialog, settings.accelerators, message)) return true;
  const std::uint32_t modifiers = KeyModifiersOf(message);
  switch (static_cast<int>(message.wparam)) {
    case virtual_key::kTab: {
      if ((modifiers & (key_modifier::kControl | key_modifier::kAlt)) != 0) return false;
      const bool backwards = (modifiers & key_modifier::kShift) != 0;
      if (const WindowHandle next = GetNextDlgTabItem(dialog, GetFocus(), backwards)) {
        SetFocus(next);
      }
      return true;
    }
    case virtual_key::kReturn:
      return settings.keys.enter && PressEnter(dialog, message.window);
    case virtual_key::kEscape:
      if (!settings.keys.escape) return false;
      PressEscape(dialog);
      return true;
  }
  return false;
}

bool Holds(WindowHandle dialog, WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  for (const WindowRecord* record = FindRecord(registry, window); record != nullptr;
       record = FindRecord(registry, record->parent)) {
    if (window == dialog) return true;
    window = record->parent;
  }
  return false;
}

}  // namespace

bool IsDialogMessage(WindowHandle dialog, const Message& message) {
  if (!message.window || !Holds(dialog, message.window)) return false;
  if (message.message == WM_KEYDOWN && HandleDialogKey(dialog, message)) return true;
  DispatchMessage(message);
  return true;
}

bool TranslateDialogInput(const Message& message) {
  WindowHandle dialog;
  {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    dialog = DialogHolding(registry, message.window);
  }
  return dialog && IsDialogMessage(dialog, message);
}

WindowHandle GetNextDlgTabItem(WindowHandle dialog, WindowHandle control, bool previous) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, dialog);
  if (record == nullptr) return {};
  const std::vector<WindowHandle>& children = record->children;
  const auto count = static_cast<std::ptrdiff_t>(children.size());
  const std::ptrdiff_t at = std::ranges::find(children, control) - children.begin();
  const std::ptrdiff_t step = previous ? count - 1 : 1;
  // Without a starting control, the walk starts just outside the list.
  std::ptrdiff_t index = at < count ? at : (previous ? 0 : count - 1);
  for (std::ptrdiff_t walked = 0; walked < count; ++walked) {
    index = (index + step) % count;
    if (IsTabStop(*FindRecord(registry, children[index]))) return children[index];
  }
  return {};
}

}  // namespace tavi::platform
