#include "platform/winsys_list_view.h"

#include <algorithm>
#include <numeric>

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_list_view_state.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::ListViewData;
using winsys_internal::ListViewRowData;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::StateChange;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

// Runs `act` on the list view's record and data under the lock; `fallback`
// when `list` is not a list view. `act` marks what it changes.
template <typename Result, typename Act>
Result WithList(WindowHandle list, Result fallback, Act act) {
  return winsys_internal::WithControlData(list, &WindowRecord::list_view, fallback, act);
}

bool IsRow(const ListViewData& data, int index) {
  return index >= 0 && index < static_cast<int>(data.rows.size());
}

bool IsColumn(const ListViewData& data, int column) {
  return column >= 0 && column < static_cast<int>(data.columns.size());
}

// Keeps an index that points at a row pointing at it after a row is
// inserted (+1) or removed (-1) at `at`.
void FollowRow(int& index, int at, int change) {
  if (index < 0) return;
  if (change < 0 && index == at) {
    index = -1;
  } else if (index >= at) {
    index += change;
  }
}

// Moves the rows into `order` (order[k]: the old index of the new row k),
// carrying the focused row and the selection mark along.
void Reorder(ListViewData& data, const std::vector<int>& order) {
  std::vector<ListViewRowData> rows;
  rows.reserve(order.size());
  std::vector<int> new_index(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    rows.push_back(std::move(data.rows[order[k]]));
    new_index[order[k]] = static_cast<int>(k);
  }
  data.rows = std::move(rows);
  if (data.focused >= 0) data.focused = new_index[data.focused];
  if (data.selection_mark >= 0) data.selection_mark = new_index[data.selection_mark];
}

}  // namespace

int InsertListViewColumn(WindowHandle list, int index, const ListViewColumn& column) {
  return WithList(list, -1, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    index = std::clamp(index, 0, static_cast<int>(data.columns.size()));
    data.columns.insert(data.columns.begin() + index, column);
    winsys_internal::Touch(registry, record);
    return index;
  });
}

int GetListViewColumnCount(WindowHandle list) {
  return WithList(list, -1, [](Registry&, WindowRecord&, ListViewData& data) {
    return static_cast<int>(data.columns.size());
  });
}

int GetListViewColumnWidth(WindowHandle list, int column) {
  return WithList(list, -1, [&](Registry&, WindowRecord&, ListViewData& data) {
    return IsColumn(data, column) ? data.columns[column].width : -1;
  });
}

bool SetListViewColumnWidth(WindowHandle list, int column, int width) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    if (!IsColumn(data, column)) return false;
    data.columns[column].width = width;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

bool SetListViewImages(WindowHandle list, std::vector<int> icon_ids) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    data.images = std::move(icon_ids);
    winsys_internal::Touch(registry, record);
    return true;
  });
}

int InsertListViewRow(WindowHandle list, int index, ListViewRow row) {
  return WithList(list, -1, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    index = std::clamp(index, 0, static_cast<int>(data.rows.size()));
    data.rows.insert(data.rows.begin() + index, {std::move(row), false});
    FollowRow(data.focused, index, 1);
    FollowRow(data.selection_mark, index, 1);
    ++data.edits;
    winsys_internal::Touch(registry, record);
    return index;
  });
}

bool SetListViewRow(WindowHandle list, int index, ListViewRow row) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    if (!IsRow(data, index)) return false;
    data.rows[index].row = std::move(row);
    ++data.edits;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

bool SetListViewText(WindowHandle list, int index, int column, const std::string& text) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    if (!IsRow(data, index) || column < 0) return false;
    std::vector<std::string>& texts = data.rows[index].row.texts;
    if (static_cast<int>(texts.size()) <= column) texts.resize(column + 1);
    texts[column] = text;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

std::string GetListViewText(WindowHandle list, int index, int column) {
  return WithList(list, std::string(), [&](Registry&, WindowRecord&, ListViewData& data) {
    if (!IsRow(data, index) || column < 0) return std::string();
    const std::vector<std::string>& texts = data.rows[index].row.texts;
    return column < static_cast<int>(texts.size()) ? texts[column] : std::string();
  });
}

std::optional<ListViewRow> GetListViewRow(WindowHandle list, int index) {
  return WithList<std::optional<ListViewRow>>(
      list, std::nullopt, [&](Registry&, WindowRecord&, ListViewData& data) {
        return IsRow(data, index) ? std::optional(data.rows[index].row) : std::nullopt;
      });
}

bool DeleteListViewRow(WindowHandle list, int index) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    if (!IsRow(data, index)) return false;
    if (data.rows[index].selected) --data.selected_count;
    data.rows.erase(data.rows.begin() + index);
    FollowRow(data.focused, index, -1);
    FollowRow(data.selection_mark, index, -1);
    data.top_row = std::clamp(data.top_row, 0, std::max(0, static_cast<int>(data.rows.size()) - 1));
    ++data.edits;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

bool DeleteAllListViewRows(WindowHandle list) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    data.rows.clear();
    data.focused = data.selection_mark = -1;
    data.top_row = data.selected_count = 0;
    ++data.edits;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

int GetListViewRowCount(WindowHandle list) {
  return WithList(list, -1, [](Registry&, WindowRecord&, ListViewData& data) {
    return static_cast<int>(data.rows.size());
  });
}

bool SetListViewRowState(WindowHandle list, int index, std::uint32_t state, std::uint32_t mask) {
  std::vector<StateChange> changes;
  const bool done =
      WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
        if (index != -1 && !IsRow(data, index)) return false;
        const bool single = (record.style & control_style::kSingleSelection) != 0;
        if (index != -1) {
          winsys_internal::ChangeRowState(data, index, state, mask, single, changes);
        } else {
          for (int row = 0; row < static_cast<int>(data.rows.size()); ++row) {
            winsys_internal::ChangeRowState(data, row, state, mask, single, changes);
          }
        }
        if (!changes.empty()) winsys_internal::Touch(registry, record);
        return true;
      });
  winsys_internal::TellStateChanges(list, changes);
  return done;
}

std::uint32_t GetListViewRowState(WindowHandle list, int index, std::uint32_t mask) {
  return WithList(list, 0u, [&](Registry&, WindowRecord&, ListViewData& data) {
    return IsRow(data, index) ? winsys_internal::RowState(data, index) & mask : 0u;
  });
}

int GetNextSelectedListViewRow(WindowHandle list, int after) {
  return WithList(list, -1, [&](Registry&, WindowRecord&, ListViewData& data) {
    if (data.selected_count == 0) return -1;
    for (int row = std::max(0, after + 1); row < static_cast<int>(data.rows.size()); ++row) {
      if (data.rows[row].selected) return row;
    }
    return -1;
  });
}

int GetSelectedListViewRowCount(WindowHandle list) {
  return WithList(list, -1,
                  [](Registry&, WindowRecord&, ListViewData& data) { return data.selected_count; });
}

int GetFocusedListViewRow(WindowHandle list) {
  return WithList(list, -1,
                  [](Registry&, WindowRecord&, ListViewData& data) { return data.focused; });
}

int GetListViewSelectionMark(WindowHandle list) {
  return WithList(list, -1,
                  [](Registry&, WindowRecord&, ListViewData& data) { return data.selection_mark; });
}

bool EnsureListViewRowVisible(WindowHandle list, int index) {
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    if (!IsRow(data, index)) return false;
    const int shown = winsys_internal::VisibleRowCount(record);
    const int top = std::clamp(data.top_row, index - shown + 1, index);
    if (top != data.top_row) {
      data.top_row = top;
      winsys_internal::Touch(registry, record);
    }
    return true;
  });
}

int GetListViewTopRow(WindowHandle list) {
  return WithList(list, -1,
                  [](Registry&, WindowRecord&, ListViewData& data) { return data.top_row; });
}

std::optional<Rect> GetListViewRowRect(WindowHandle list, int index) {
  return WithList<std::optional<Rect>>(
      list, std::nullopt, [&](Registry&, WindowRecord& record, ListViewData& data) {
        if (!IsRow(data, index)) return std::optional<Rect>();
        return std::optional(winsys_internal::RowRect(record, data, index));
      });
}

bool SortListView(WindowHandle list, const std::function<int(LParam, LParam)>& compare) {
  std::vector<LParam> values;
  std::uint64_t edits = 0;
  const bool found = WithList(list, false, [&](Registry&, WindowRecord&, ListViewData& data) {
    values.reserve(data.rows.size());
    for (const ListViewRowData& row : data.rows) values.push_back(row.row.user_value);
    edits = data.edits;
    return true;
  });
  if (!found) return false;
  // Without the lock: the comparison is the caller's and may call back.
  std::vector<int> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return compare(values[a], values[b]) < 0; });
  return WithList(list, false, [&](Registry& registry, WindowRecord& record, ListViewData& data) {
    if (data.edits != edits) return false;
    Reorder(data, order);
    ++data.edits;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

}  // namespace tavi::platform
