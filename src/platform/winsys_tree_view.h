#pragma once

// The tree view: items with a text, an image and a selected image (indexes
// into the view's list of icon ids), a user value and children, each
// expanded or collapsed; one selected item.
//
// The view tells its parent (WM_NOTIFY with TreeViewNotify):
// - TVN_SELCHANGED whenever the selection changes, by SelectTreeItem or by
//   a person's click (action TVC_BYMOUSE);
// - TVN_ITEMEXPANDED when a person expands or collapses an item, with its
//   new state. As on the system, a program's ExpandTreeItem tells nobody;
// - NM_CLICK, NM_DBLCLK and NM_RCLICK after a person's click on an item;
//   when the parent answers 0 to NM_DBLCLK, the double click also expands
//   or collapses the item, as a person expects;
// - NM_RETURN for Enter.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/winsys.h"

namespace tavi::platform {

inline constexpr int TVN_SELCHANGED = -402;
inline constexpr int TVN_ITEMEXPANDED = -406;

// TreeViewNotify::action of TVN_SELCHANGED.
inline constexpr int TVC_UNKNOWN = 0;
inline constexpr int TVC_BYMOUSE = 1;
// TreeViewNotify::action of TVN_ITEMEXPANDED.
inline constexpr int TVE_COLLAPSE = 1;
inline constexpr int TVE_EXPAND = 2;

// An item of one tree view, by value; never reused within its view. The
// default item (0) is "no item", which as a parent means the top level.
struct TreeItem {
  std::uint32_t id = 0;

  explicit operator bool() const { return id != 0; }
  friend auto operator<=>(const TreeItem&, const TreeItem&) = default;
};

// The data of every tree-view WM_NOTIFY.
struct TreeViewNotify {
  NotifyHeader header;
  int action = 0;
  TreeItem old_item;  // TVN_SELCHANGED: the item selected before
  LParam old_user_value = 0;
  TreeItem new_item;  // the selected, expanded or clicked item
  LParam new_user_value = 0;
  bool expanded = false;  // TVN_ITEMEXPANDED: the new state
};

struct TreeItemContent {
  std::string text;
  int image = 0;
  int selected_image = 0;
  LParam user_value = 0;
};

struct TreeItemState {
  TreeItemContent content;
  bool expanded = false;
  bool selected = false;
  int child_count = 0;
};

enum class TreeInsertPosition {
  kFirst,
  kLast,
  kSorted,  // before the first sibling whose text sorts after it (ASCII case ignored)
};

enum class TreeRelation {
  kRoot,    // the first top-level item (the argument is ignored)
  kParent,  // none for a top-level item
  kChild,   // the first child
  kNextSibling,
  kNextVisible,  // the next item in display order, through expanded items only
  kSelection,    // the selected item (the argument is ignored)
};

// The functions below fail (none, false, nullopt) when `tree` is not a tree
// view or an item is not one of its items.

// Inserts an item under `parent` (none: at the top level).
TreeItem InsertTreeItem(WindowHandle tree, TreeItem parent, TreeInsertPosition position,
                        const TreeItemContent& content);

// Removes an item with everything under it (none: every item). When the
// selection goes with it, nothing is selected and nobody is told.
bool DeleteTreeItem(WindowHandle tree, TreeItem item);

bool SetTreeItem(WindowHandle tree, TreeItem item, const TreeItemContent& content);
std::optional<TreeItemState> GetTreeItem(WindowHandle tree, TreeItem item);
int GetTreeItemCount(WindowHandle tree);

// Expands or collapses an item that has children, telling nobody; false
// for an item without children.
bool ExpandTreeItem(WindowHandle tree, TreeItem item, bool expand);

// Selects an item (none: nothing), expanding its ancestors so that it shows;
// a change of selection sends TVN_SELCHANGED (action TVC_UNKNOWN).
bool SelectTreeItem(WindowHandle tree, TreeItem item);

// The item related to `item` as `relation` says; none when there is none.
TreeItem GetNextTreeItem(WindowHandle tree, TreeItem item, TreeRelation relation);

// Sorts the children of `item` (none: the top level) by their texts, ASCII
// case ignored, keeping equal texts in their order; with `recursive`, the
// children's children too, all the way down.
bool SortTreeChildren(WindowHandle tree, TreeItem item, bool recursive);

// The icon ids that item images index.
bool SetTreeViewImages(WindowHandle tree, std::vector<int> icon_ids);

}  // namespace tavi::platform
