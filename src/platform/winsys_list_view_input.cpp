// The list view's procedure: what it does with a person's keys and clicks.

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_keyboard.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_list_view_state.h"
#include "platform/winsys_mouse.h"

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

// Unselects every selected row but `keep` (none when -1).
void UnselectAllBut(ListViewData& data, int keep, std::vector<StateChange>& changes) {
  for (int row = 0; data.selected_count > 0 && row < static_cast<int>(data.rows.size()); ++row) {
    if (row != keep) ChangeRowState(data, row, 0, LVIS_SELECTED, false, changes);
  }
}

// Selects rows from the selection mark to `row` and nothing else.
void SelectRange(ListViewData& data, int row, std::vector<StateChange>& changes) {
  const int first = std::min(data.selection_mark, row);
  const int last = std::max(data.selection_mark, row);
  for (int index = 0; index < static_cast<int>(data.rows.size()); ++index) {
    const bool inside = index >= first && index <= last;
    ChangeRowState(data, index, inside ? LVIS_SELECTED : 0, LVIS_SELECTED, false, changes);
  }
}

// The selection a person's click makes, as the system's list view makes it.
void SelectByClick(const WindowRecord& record, ListViewData& data, int row, ClickKind kind,
                   std::uint32_t modifiers, std::vector<StateChange>& changes) {
  const bool multiple = (record.style & control_style::kSingleSelection) == 0;
  const bool control = multiple && (modifiers & key_modifier::kControl) != 0;
  const bool shift = multiple && (modifiers & key_modifier::kShift) != 0;
  constexpr std::uint32_t kBoth = LVIS_SELECTED | LVIS_FOCUSED;
  if (row < 0) {
    if (!control) UnselectAllBut(data, -1, changes);
  } else if (kind == ClickKind::kRight && data.rows[row].selected) {
    ChangeRowState(data, row, LVIS_FOCUSED, LVIS_FOCUSED, !multiple, changes);
  } else if (control) {
    const std::uint32_t selected = data.rows[row].selected ? 0 : LVIS_SELECTED;
    ChangeRowState(data, row, selected | LVIS_FOCUSED, kBoth, false, changes);
    data.selection_mark = row;
  } else if (shift && data.selection_mark >= 0) {
    SelectRange(data, row, changes);
    ChangeRowState(data, row, LVIS_FOCUSED, LVIS_FOCUSED, false, changes);
  } else {
    UnselectAllBut(data, row, changes);
    ChangeRowState(data, row, kBoth, kBoth, !multiple, changes);
    data.selection_mark = row;
  }
}

void Notify(WindowHandle list, int code, int row, Point point, LParam user_value) {
  ListViewNotify notify;
  notify.row = row;
  notify.point = point;
  notify.user_value = user_value;
  NotifyParent(list, notify.header, code);
}

// A person's click on `row` (-1: below the rows): the selection changes,
// the cursor goes to the middle of the row, and the parent is told.
void ClickRow(WindowHandle list, int row, ClickKind kind, std::uint32_t modifiers) {
  std::vector<StateChange> changes;
  Point point;
  LParam user_value = 0;
  const bool found =
      WithControlData(list, &WindowRecord::list_view, false,
                      [&](Registry& registry, WindowRecord& record, ListViewData& data) {
                        if (row >= static_cast<int>(data.rows.size())) return false;
                        SelectByClick(record, data, row, kind, modifiers, changes);
                        const int drawn = row < 0 ? static_cast<int>(data.rows.size()) : row;
                        const Rect rect = RowRect(record, data, drawn);
                        point = {rect.Width() / 2, rect.top + rect.Height() / 2};
                        if (row >= 0) user_value = data.rows[row].row.user_value;
                        Touch(registry, record);
                        return true;
                      });
  if (!found) return;
  TellStateChanges(list, changes);
  SetCursorPos(ClientToScreen(list, point));
  Notify(list, kind == ClickKind::kRight ? NM_RCLICK : NM_CLICK, row, point, user_value);
  if (kind == ClickKind::kDouble) Notify(list, NM_DBLCLK, row, point, user_value);
}

void ClickColumn(WindowHandle list, int column) {
  ListViewNotify notify;
  notify.column = column;
  NotifyParent(list, notify.header, LVN_COLUMNCLICK);
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
    case kListViewClickInput: {
      SetFocus(list);
      const auto packed = static_cast<std::uintptr_t>(lparam);
      ClickRow(list, static_cast<int>(wparam), static_cast<ClickKind>(KindOf(packed)),
               ModifiersOf(packed));
      return 0;
    }
    case kListViewColumnInput:
      ClickColumn(list, static_cast<int>(wparam));
      return 0;
  }
  return DefWindowProc(list, message, wparam, lparam);
}

}  // namespace tavi::platform::winsys_internal
