#pragma once

// What the list view, the tree view and the toolbar keep, inside their
// window records; shared by the window system's sources and nothing else.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/winsys_list_view.h"
#include "platform/winsys_toolbar.h"
#include "platform/winsys_tree_view.h"

namespace tavi::platform::winsys_internal {

struct ListViewRowData {
  ListViewRow row;
  bool selected = false;
};

struct ListViewData {
  std::vector<ListViewColumn> columns;
  std::vector<ListViewRowData> rows;
  std::vector<int> images;
  int focused = -1;
  int selection_mark = -1;
  int top_row = 0;
  int selected_count = 0;
  // Rises whenever rows come, go, move or get new user values, so that a
  // sort that let go of the lock knows whether its rows are still the same.
  std::uint64_t edits = 0;
};

struct TreeNode {
  TreeItemContent content;
  TreeItem parent;
  std::vector<TreeItem> children;
  bool expanded = false;
};

struct TreeViewData {
  std::unordered_map<std::uint32_t, TreeNode> nodes;  // by item id
  std::vector<TreeItem> roots;
  TreeItem selected;
  std::vector<int> images;
  std::uint32_t next_id = 1;
};

struct DropDownData {
  std::vector<std::string> items;
  int selection = -1;  // -1: nothing chosen
};

struct ToolbarButton {
  ToolbarButtonTemplate button;  // command 0: a separator
  bool enabled = true;
};

struct ToolbarData {
  int button_size = 0;
  std::vector<ToolbarButton> buttons;
};

// Where the button with `command` is in the toolbar's client area; nullopt
// when there is no such button (winsys_toolbar.cpp).
std::optional<Rect> ButtonRect(const ToolbarData& data, int command);

}  // namespace tavi::platform::winsys_internal
