#pragma once

// The selection and focus of a list view's rows, and where rows are drawn;
// shared by the list view's functions and its procedure.

#include <cstdint>
#include <vector>

#include "platform/winsys_registry.h"

namespace tavi::platform::winsys_internal {

// One row's change of state, for LVN_ITEMCHANGED.
struct StateChange {
  int row = -1;
  std::uint32_t old_state = 0;
  std::uint32_t new_state = 0;
  LParam user_value = 0;
};

// The LVIS_ bits of row `index`.
std::uint32_t RowState(const ListViewData& data, int index);

// Sets the states in `mask` of row `index` to those in `state`, keeping a
// single selection when `single`, and appends every row's change (this
// row's last) to `changes`. Lock held.
void ChangeRowState(ListViewData& data, int index, std::uint32_t state, std::uint32_t mask,
                    bool single, std::vector<StateChange>& changes);

// Tells the list view's parent of each change with LVN_ITEMCHANGED. Lock not
// held.
void TellStateChanges(WindowHandle list, const std::vector<StateChange>& changes);

// Where row `index` is drawn, in the view's client coordinates. Lock held.
Rect RowRect(const WindowRecord& record, const ListViewData& data, int index);

// How many whole rows the view shows (at least one). Lock held.
int VisibleRowCount(const WindowRecord& record);

}  // namespace tavi::platform::winsys_internal
