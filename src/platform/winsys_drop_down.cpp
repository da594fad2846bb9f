#include "platform/winsys_drop_down.h"

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::DropDownData;
using winsys_internal::Registry;
using winsys_internal::WindowRecord;

bool IsItemOf(const DropDownData& data, int index) {
  return index >= 0 && index < static_cast<int>(data.items.size());
}

// Changes the list's state under the lock with `change`, which returns its
// result; `fallback` when `list` is no drop-down list.
template <typename Result, typename Change>
Result ChangeDropDown(WindowHandle list, Result fallback, Change change) {
  return winsys_internal::WithControlData(
      list, &WindowRecord::drop_down, fallback,
      [&](Registry& registry, WindowRecord& record, DropDownData& data) {
        const Result result = change(data);
        winsys_internal::Touch(registry, record);
        return result;
      });
}

// A person's choice: the parent hears of it only when the choice changed.
void ChooseByPerson(WindowHandle list, int index) {
  const bool changed = ChangeDropDown(list, false, [&](DropDownData& data) {
    if (!IsItemOf(data, index) || data.selection == index) return false;
    data.selection = index;
    return true;
  });
  if (changed) winsys_internal::CommandParent(list, CBN_SELCHANGE);
}

// Up and Down move the choice one item, staying at the ends.
void PressKey(WindowHandle list, WParam key) {
  const int step = key == static_cast<WParam>(virtual_key::kDown) ? 1
                   : key == static_cast<WParam>(virtual_key::kUp) ? -1
                                                                  : 0;
  if (step == 0) return;
  const int selection = GetDropDownSelection(list);
  ChooseByPerson(list, selection < 0 ? 0 : selection + step);
}

}  // namespace

namespace winsys_internal {

LResult DropDownProcedure(WindowHandle list, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      SetFocus(list);
      return 0;
    case WM_KEYDOWN:
      PressKey(list, wparam);
      return 0;
    case kDropDownSelectInput:
      SetFocus(list);
      ChooseByPerson(list, static_cast<int>(wparam));
      return 0;
  }
  return DefWindowProc(list, message, wparam, lparam);
}

}  // namespace winsys_internal

int AddDropDownItem(WindowHandle list, const std::string& text) {
  return ChangeDropDown(list, -1, [&](DropDownData& data) {
    data.items.push_back(text);
    return static_cast<int>(data.items.size()) - 1;
  });
}

bool ClearDropDownItems(WindowHandle list) {
  return ChangeDropDown(list, false, [](DropDownData& data) {
    data.items.clear();
    data.selection = -1;
    return true;
  });
}

int GetDropDownItemCount(WindowHandle list) {
  return winsys_internal::WithControlData(list, &WindowRecord::drop_down, -1,
                                          [](Registry&, WindowRecord&, DropDownData& data) {
                                            return static_cast<int>(data.items.size());
                                          });
}

std::string GetDropDownItemText(WindowHandle list, int index) {
  return winsys_internal::WithControlData(list, &WindowRecord::drop_down, std::string(),
                                          [&](Registry&, WindowRecord&, DropDownData& data) {
                                            return IsItemOf(data, index) ? data.items[index]
                                                                         : std::string();
                                          });
}

bool SetDropDownSelection(WindowHandle list, int index) {
  return ChangeDropDown(list, false, [&](DropDownData& data) {
    if (index != -1 && !IsItemOf(data, index)) return false;
    data.selection = index;
    return true;
  });
}

int GetDropDownSelection(WindowHandle list) {
  return winsys_internal::WithControlData(
      list, &WindowRecord::drop_down, -1,
      [](Registry&, WindowRecord&, DropDownData& data) { return data.selection; });
}

}  // namespace tavi::platform
