// The tree view's procedure: what it does with a person's keys and clicks.

#include "platform/winsys_control_procedures.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_tree_view.h"
#include "platform/winsys_tree_view_state.h"

namespace tavi::platform::winsys_internal {
namespace {

LResult Notify(WindowHandle tree, int code, TreeItem item) {
  TreeViewNotify notify;
  notify.new_item = item;
  notify.new_user_value = GetTreeItem(tree, item).value_or(TreeItemState{}).content.user_value;
  return NotifyParent(tree, notify.header, code);
}

// A person expands or collapses `item` (toggles it when `expand` is
// nullopt); the parent hears TVN_ITEMEXPANDED when its state changed.
void ExpandByPerson(WindowHandle tree, TreeItem item, std::optional<bool> expand) {
  TreeViewNotify notify;
  const bool changed =
      WithControlData(tree, &WindowRecord::tree_view, false,
                      [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
                        const TreeNode* node = FindNode(data, item);
                        if (node == nullptr) return false;
                        const bool wanted = expand.value_or(!node->expanded);
                        if (node->expanded == wanted || !SetExpanded(data, item, wanted))
                          return false;
                        notify.action = wanted ? TVE_EXPAND : TVE_COLLAPSE;
                        notify.new_item = item;
                        notify.new_user_value = node->content.user_value;
                        notify.expanded = wanted;
                        Touch(registry, record);
                        return true;
                      });
  if (changed) NotifyParent(tree, notify.header, TVN_ITEMEXPANDED);
}

void ClickItem(WindowHandle tree, TreeItem item, ClickKind kind) {
  if (kind == ClickKind::kRight) {
    Notify(tree, NM_RCLICK, item);
    return;
  }
  ChangeTreeSelection(tree, item, TVC_BYMOUSE);
  Notify(tree, NM_CLICK, item);
  if (kind != ClickKind::kDouble) return;
  // The parent that handles the double click answers non-zero to keep the
  // item as it is.
  if (Notify(tree, NM_DBLCLK, item) == 0) ExpandByPerson(tree, item, std::nullopt);
}

}  // namespace

LResult TreeViewProcedure(WindowHandle tree, MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(tree);
      return 0;
    case WM_KEYDOWN:
      if (wparam == static_cast<WParam>(virtual_key::kReturn)) Notify(tree, NM_RETURN, {});
      return 0;
    case kTreeViewClickInput:
      SetFocus(tree);
      ClickItem(tree, TreeItem{static_cast<std::uint32_t>(wparam)},
                static_cast<ClickKind>(KindOf(static_cast<std::uintptr_t>(lparam))));
      return 0;
    case kTreeViewExpandInput:
      ExpandByPerson(tree, TreeItem{static_cast<std::uint32_t>(wparam)}, lparam != 0);
      return 0;
  }
  return DefWindowProc(tree, message, wparam, lparam);
}

}  // namespace tavi::platform::winsys_internal
