#include "platform/winsys_list_view_state.h"

#include <algorithm>

#include "platform/winsys_control_procedures.h"

namespace tavi::platform::winsys_internal {
namespace {

void Record(ListViewData& data, int index, std::uint32_t old_state, std::uint32_t new_state,
            std::vector<StateChange>& changes) {
  changes.push_back({index, old_state, new_state, data.rows[index].row.user_value});
}

// Unselects every selected row but `keep`.
void UnselectOthers(ListViewData& data, int keep, std::vector<StateChange>& changes) {
  for (int row = 0; data.selected_count > 0 && row < static_cast<int>(data.rows.size()); ++row) {
    if (row == keep || !data.rows[row].selected) continue;
    const std::uint32_t old_state = RowState(data, row);
    data.rows[row].selected = false;
    --data.selected_count;
    Record(data, row, old_state, old_state & ~LVIS_SELECTED, changes);
  }
}

int HeaderHeight(const WindowRecord& record) {
  return (record.style & control_style::kNoColumnHeader) != 0 ? 0 : kListViewHeaderHeight;
}

void Unfocus(ListViewData& data, std::vector<StateChange>& changes) {
  const int row = data.focused;
  const std::uint32_t old_state = RowState(data, row);
  data.focused = -1;
  Record(data, row, old_state, old_state & ~LVIS_FOCUSED, changes);
}

}  // namespace

std::uint32_t RowState(const ListViewData& data, int index) {
  return (data.rows[index].selected ? LVIS_SELECTED : 0u) |
         (data.focused == index ? LVIS_FOCUSED : 0u);
}

void ChangeRowState(ListViewData& data, int index, std::uint32_t state, std::uint32_t mask,
                    bool single, std::vector<StateChange>& changes) {
  mask &= LVIS_SELECTED | LVIS_FOCUSED;
  const std::uint32_t old_state = RowState(data, index);
  const std::uint32_t new_state = (old_state & ~mask) | (state & mask);
  if (new_state == old_state) return;
  const std::uint32_t gained = new_state & ~old_state;
  if ((gained & LVIS_SELECTED) != 0 && single) UnselectOthers(data, index, changes);
  if ((gained & LVIS_FOCUSED) != 0 && data.focused >= 0) Unfocus(data, changes);
  const bool selected = (new_state & LVIS_SELECTED) != 0;
  if (selected != data.rows[index].selected) data.selected_count += selected ? 1 : -1;
  data.rows[index].selected = selected;
  if ((new_state & LVIS_FOCUSED) != 0) {
    data.focused = index;
  } else if (data.focused == index) {
    data.focused = -1;
  }
  Record(data, index, old_state, new_state, changes);
}

void TellStateChanges(WindowHandle list, const std::vector<StateChange>& changes) {
  for (const StateChange& change : changes) {
    ListViewNotify notify;
    notify.row = change.row;
    notify.old_state = change.old_state;
    notify.new_state = change.new_state;
    notify.user_value = change.user_value;
    NotifyParent(list, notify.header, LVN_ITEMCHANGED);
  }
}

Rect RowRect(const WindowRecord& record, const ListViewData& data, int index) {
  const int top = HeaderHeight(record) + (index - data.top_row) * kListViewRowHeight;
  return {0, top, ClientSizeOf(record).width, top + kListViewRowHeight};
}

int VisibleRowCount(const WindowRecord& record) {
  const int height = ClientSizeOf(record).height - HeaderHeight(record);
  return std::max(1, height / kListViewRowHeight);
}

}  // namespace tavi::platform::winsys_internal
