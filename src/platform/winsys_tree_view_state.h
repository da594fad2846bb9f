#pragma once

// Walking a tree view's items and changing its selection and expansion;
// shared by the tree view's functions and its procedure.

#include "platform/winsys_registry.h"

namespace tavi::platform::winsys_internal {

// The node of `item`, or nullptr when it is not an item of the view.
TreeNode* FindNode(TreeViewData& data, TreeItem item);

// The children of `parent` (none: the top-level items); nullptr when
// `parent` is not an item of the view.
std::vector<TreeItem>* ChildrenOf(TreeViewData& data, TreeItem parent);

// Sets whether `item` is expanded; false (changing nothing) when it is not
// an item or has no children.
bool SetExpanded(TreeViewData& data, TreeItem item, bool expand);

// The item related to `item` as `relation` says, or none.
TreeItem RelatedItem(TreeViewData& data, TreeItem item, TreeRelation relation);

// Selects `item` (none: nothing) in the tree view, expanding its ancestors,
// and tells the parent TVN_SELCHANGED with `action` when the selection
// changed. False when `tree` is not a tree view or `item` not its item. Lock
// not held.
bool ChangeTreeSelection(WindowHandle tree, TreeItem item, int action);

}  // namespace tavi::platform::winsys_internal
