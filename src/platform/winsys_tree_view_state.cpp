#include "platform/winsys_tree_view_state.h"

#include <algorithm>

#include "platform/winsys_control_procedures.h"

namespace tavi::platform::winsys_internal {
namespace {

// The sibling after `item`, or none.
TreeItem NextSibling(TreeViewData& data, TreeItem item) {
  const std::vector<TreeItem>& siblings = *ChildrenOf(data, data.nodes.at(item.id).parent);
  const auto at = std::ranges::find(siblings, item);
  return at + 1 == siblings.end() ? TreeItem{} : *(at + 1);
}

// The next item in display order: the first child of an expanded item,
// else the next sibling of the item or of its nearest ancestor that has one.
TreeItem NextVisible(TreeViewData& data, TreeItem item) {
  const TreeNode& node = data.nodes.at(item.id);
  if (node.expanded && !node.children.empty()) return node.children.front();
  for (TreeItem at = item; at; at = data.nodes.at(at.id).parent) {
    if (const TreeItem next = NextSibling(data, at)) return next;
  }
  return {};
}

void ExpandAncestors(TreeViewData& data, TreeItem item) {
  for (TreeItem at = data.nodes.at(item.id).parent; at; at = data.nodes.at(at.id).parent) {
    data.nodes.at(at.id).expanded = true;
  }
}

LParam UserValueOf(TreeViewData& data, TreeItem item) {
  const TreeNode* node = FindNode(data, item);
  return node == nullptr ? 0 : node->content.user_value;
}

}  // namespace

TreeNode* FindNode(TreeViewData& data, TreeItem item) {
  const auto found = data.nodes.find(item.id);
  return found == data.nodes.end() ? nullptr : &found->second;
}

std::vector<TreeItem>* ChildrenOf(TreeViewData& data, TreeItem parent) {
  if (!parent) return &data.roots;
  TreeNode* node = FindNode(data, parent);
  return node == nullptr ? nullptr : &node->children;
}

bool SetExpanded(TreeViewData& data, TreeItem item, bool expand) {
  TreeNode* node = FindNode(data, item);
  if (node == nullptr || node->children.empty()) return false;
  node->expanded = expand;
  return true;
}

TreeItem RelatedItem(TreeViewData& data, TreeItem item, TreeRelation relation) {
  if (relation == TreeRelation::kRoot) return data.roots.empty() ? TreeItem{} : data.roots.front();
  if (relation == TreeRelation::kSelection) return data.selected;
  const TreeNode* node = FindNode(data, item);
  if (node == nullptr) return {};
  switch (relation) {
    case TreeRelation::kParent:
      return node->parent;
    case TreeRelation::kChild:
      return node->children.empty() ? TreeItem{} : node->children.front();
    case TreeRelation::kNextSibling:
      return NextSibling(data, item);
    case TreeRelation::kNextVisible:
      return NextVisible(data, item);
    case TreeRelation::kRoot:
    case TreeRelation::kSelection:
      break;
  }
  return {};
}

bool ChangeTreeSelection(WindowHandle tree, TreeItem item, int action) {
  TreeViewNotify notify;
  bool changed = false;
  const bool done =
      WithControlData(tree, &WindowRecord::tree_view, false,
                      [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
                        if (item && FindNode(data, item) == nullptr) return false;
                        if (item) ExpandAncestors(data, item);
                        changed = data.selected != item;
                        notify.old_item = data.selected;
                        notify.old_user_value = UserValueOf(data, data.selected);
                        notify.new_item = item;
                        notify.new_user_value = UserValueOf(data, item);
                        data.selected = item;
                        Touch(registry, record);
                        return true;
                      });
  notify.action = action;
  if (changed) NotifyParent(tree, notify.header, TVN_SELCHANGED);
  return done;
}

}  // namespace tavi::platform::winsys_internal
