#include "platform/winsys_tree_view.h"

#include <algorithm>

#include "platform/ascii.h"
#include "platform/winsys_control_procedures.h"
#include "platform/winsys_registry.h"
#include "platform/winsys_tree_view_state.h"

namespace tavi::platform {
namespace {

using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::TreeNode;
using winsys_internal::TreeViewData;
using winsys_internal::WindowRecord;

// Runs `act` on the tree view's record and data under the lock; `fallback`
// when `tree` is not a tree view. `act` marks what it changes.
template <typename Result, typename Act>
Result WithTree(WindowHandle tree, Result fallback, Act act) {
  return winsys_internal::WithControlData(tree, &WindowRecord::tree_view, fallback, act);
}

bool SortsBefore(const TreeViewData& data, TreeItem a, TreeItem b) {
  return CompareIgnoringCase(data.nodes.at(a.id).content.text, data.nodes.at(b.id).content.text) <
         0;
}

// Where a new item with `text` goes among `siblings` for `position`.
std::vector<TreeItem>::iterator InsertionPoint(const TreeViewData& data,
                                               std::vector<TreeItem>& siblings,
                                               TreeInsertPosition position,
                                               const std::string& text) {
  switch (position) {
    case TreeInsertPosition::kFirst:
      return siblings.begin();
    case TreeInsertPosition::kLast:
      return siblings.end();
    case TreeInsertPosition::kSorted:
      return std::ranges::find_if(siblings, [&](TreeItem sibling) {
        return CompareIgnoringCase(data.nodes.at(sibling.id).content.text, text) > 0;
      });
  }
  return siblings.end();
}

// Removes `item` and everything under it from the nodes (not from its
// parent's list); true when the selection went with it.
bool RemoveSubtree(TreeViewData& data, TreeItem item) {
  bool selection_gone = data.selected == item;
  for (const TreeItem child : data.nodes.at(item.id).children) {
    selection_gone = RemoveSubtree(data, child) || selection_gone;
  }
  data.nodes.erase(item.id);
  return selection_gone;
}

void SortSiblings(TreeViewData& data, std::vector<TreeItem>& siblings, bool recursive) {
  std::ranges::stable_sort(siblings,
                           [&](TreeItem a, TreeItem b) { return SortsBefore(data, a, b); });
  if (!recursive) return;
  for (const TreeItem child : siblings) SortSiblings(data, data.nodes.at(child.id).children, true);
}

}  // namespace

TreeItem InsertTreeItem(WindowHandle tree, TreeItem parent, TreeInsertPosition position,
                        const TreeItemContent& content) {
  return WithTree(tree, TreeItem{},
                  [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
                    std::vector<TreeItem>* siblings = winsys_internal::ChildrenOf(data, parent);
                    if (siblings == nullptr) return TreeItem{};
                    const TreeItem item{data.next_id++};
                    siblings->insert(InsertionPoint(data, *siblings, position, content.text), item);
                    data.nodes.emplace(item.id, TreeNode{content, parent, {}, false});
                    winsys_internal::Touch(registry, record);
                    return item;
                  });
}

bool DeleteTreeItem(WindowHandle tree, TreeItem item) {
  return WithTree(tree, false, [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
    if (!item) {
      data.nodes.clear();
      data.roots.clear();
      data.selected = {};
    } else {
      const TreeNode* node = winsys_internal::FindNode(data, item);
      if (node == nullptr) return false;
      std::erase(*winsys_internal::ChildrenOf(data, node->parent), item);
      if (RemoveSubtree(data, item)) data.selected = {};
    }
    winsys_internal::Touch(registry, record);
    return true;
  });
}

bool SetTreeItem(WindowHandle tree, TreeItem item, const TreeItemContent& content) {
  return WithTree(tree, false, [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
    TreeNode* node = winsys_internal::FindNode(data, item);
    if (node == nullptr) return false;
    node->content = content;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

std::optional<TreeItemState> GetTreeItem(WindowHandle tree, TreeItem item) {
  return WithTree<std::optional<TreeItemState>>(
      tree, std::nullopt, [&](Registry&, WindowRecord&, TreeViewData& data) {
        const TreeNode* node = winsys_internal::FindNode(data, item);
        if (node == nullptr) return std::optional<TreeItemState>();
        return std::optional(TreeItemState{node->content, node->expanded, data.selected == item,
                                           static_cast<int>(node->children.size())});
      });
}

int GetTreeItemCount(WindowHandle tree) {
  return WithTree(tree, -1, [](Registry&, WindowRecord&, TreeViewData& data) {
    return static_cast<int>(data.nodes.size());
  });
}

bool ExpandTreeItem(WindowHandle tree, TreeItem item, bool expand) {
  return WithTree(tree, false, [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
    if (!winsys_internal::SetExpanded(data, item, expand)) return false;
    winsys_internal::Touch(registry, record);
    return true;
  });
}

bool SelectTreeItem(WindowHandle tree, TreeItem item) {
  return winsys_internal::ChangeTreeSelection(tree, item, TVC_UNKNOWN);
}

TreeItem GetNextTreeItem(WindowHandle tree, TreeItem item, TreeRelation relation) {
  return WithTree(tree, TreeItem{}, [&](Registry&, WindowRecord&, TreeViewData& data) {
    return winsys_internal::RelatedItem(data, item, relation);
  });
}

bool SortTreeChildren(WindowHandle tree, TreeItem item, bool recursive) {
  return WithTree(tree, false, [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
    std::vector<TreeItem>* children = winsys_internal::ChildrenOf(data, item);
    if (children == nullptr) return false;
    SortSiblings(data, *children, recursive);
    winsys_internal::Touch(registry, record);
    return true;
  });
}

bool SetTreeViewImages(WindowHandle tree, std::vector<int> icon_ids) {
  return WithTree(tree, false, [&](Registry& registry, WindowRecord& record, TreeViewData& data) {
    data.images = std::move(icon_ids);
    winsys_internal::Touch(registry, record);
    return true;
  });
}

}  // namespace tavi::platform
