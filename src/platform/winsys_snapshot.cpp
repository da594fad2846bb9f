#include "platform/winsys_snapshot.h"

#include <algorithm>

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

bool IsFocused(Registry& registry, WindowHandle window, const WindowRecord& record) {
  const winsys_internal::ThreadQueue* queue = winsys_internal::FindQueue(registry, record.thread);
  return queue != nullptr && queue->focus == window;
}

bool IsBlocked(Registry& registry, WindowHandle window) {
  const WindowRecord* top = FindRecord(registry, winsys_internal::TopLevelOf(registry, window));
  return top != nullptr && top->modal_blocks > 0;
}

ListViewSnapshot ListViewStateOf(const winsys_internal::ListViewData& data) {
  ListViewSnapshot state{data.columns, data.images,  static_cast<int>(data.rows.size()),
                         {},           data.focused, data.top_row};
  state.selected_rows.reserve(data.selected_count);
  for (int row = 0; row < state.row_count; ++row) {
    if (data.rows[row].selected) state.selected_rows.push_back(row);
  }
  return state;
}

void AppendTreeItems(const winsys_internal::TreeViewData& data, const std::vector<TreeItem>& items,
                     int depth, TreeViewSnapshot& state) {
  for (const TreeItem item : items) {
    const winsys_internal::TreeNode& node = data.nodes.at(item.id);
    state.items.push_back({item, node.parent, depth, node.content.text, node.content.image,
                           node.content.selected_image, node.expanded, data.selected == item,
                           !node.children.empty()});
    AppendTreeItems(data, node.children, depth + 1, state);
  }
}

TreeViewSnapshot TreeViewStateOf(const winsys_internal::TreeViewData& data) {
  TreeViewSnapshot state{data.images, {}};
  state.items.reserve(data.nodes.size());
  AppendTreeItems(data, data.roots, 0, state);
  return state;
}

ToolbarSnapshot ToolbarStateOf(const winsys_internal::ToolbarData& data) {
  ToolbarSnapshot state{data.button_size, {}};
  for (const winsys_internal::ToolbarButton& button : data.buttons) {
    const Rect rect = winsys_internal::ButtonRect(data, button.button.command).value_or(Rect{});
    state.buttons.push_back({button.button, button.enabled, rect});
  }
  return state;
}

void AddControlStates(const WindowRecord& record, WindowSnapshot& state) {
  if (record.list_view) state.list_view = ListViewStateOf(*record.list_view);
  if (record.tree_view) state.tree_view = TreeViewStateOf(*record.tree_view);
  if (record.toolbar) state.toolbar = ToolbarStateOf(*record.toolbar);
  if (record.drop_down) {
    state.drop_down = DropDownSnapshot{record.drop_down->items, record.drop_down->selection};
  }
}

WindowSnapshot SnapshotOf(Registry& registry, WindowHandle window, const WindowRecord& record) {
  WindowSnapshot state;
  state.handle = window;
  state.parent = record.parent;
  state.owner = record.owner;
  state.thread = record.thread;
  state.class_name = record.class_name;
  state.text = record.title;
  state.kind = record.kind;
  state.is_dialog = record.dialog != nullptr;
  state.control_id = record.control_id;
  state.style = record.style;
  state.icon_id = record.icon_id;
  state.cursor_id = record.cursor_id;
  state.rect = record.rect;
  state.client = winsys_internal::ClientAreaInWindowOf(registry, record);
  state.visible = record.visible;
  state.enabled = record.enabled;
  state.focused = IsFocused(registry, window, record);
  state.show_state = record.show_state;
  state.blocked = IsBlocked(registry, window);
  state.tracking = record.tracking;
  state.checked = record.checked;
  state.progress = record.progress;
  state.menu = record.menu;
  state.menu_bar = winsys_internal::MenuItemsOf(registry, record.menu);
  AddControlStates(record, state);
  state.version = record.version;
  return state;
}

void AppendWindows(Registry& registry, const std::vector<WindowHandle>& windows,
                   std::uint64_t since, Snapshot& snapshot) {
  for (const WindowHandle window : windows) {
    const WindowRecord& record = *FindRecord(registry, window);
    snapshot.order.push_back(window);
    if (record.version > since) snapshot.windows.push_back(SnapshotOf(registry, window, record));
    AppendWindows(registry, record.children, since, snapshot);
  }
}

}  // namespace

Snapshot TakeSnapshot(std::uint64_t since) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  Snapshot snapshot;
  snapshot.version = registry.version;
  snapshot.order.reserve(registry.windows.size());
  AppendWindows(registry, registry.top_levels, since, snapshot);
  snapshot.desktop = registry.desktop;
  snapshot.capture = registry.capture;
  snapshot.clip = registry.clip;
  snapshot.cursor = registry.cursor;
  snapshot.message_boxes = registry.pending_boxes;
  for (const PopupMenuRequest& popup : registry.pending_popups) {
    snapshot.popup_menus.push_back({popup, winsys_internal::MenuItemsOf(registry, popup.menu)});
  }
  return snapshot;
}

std::vector<ListViewRowSnapshot> ReadListViewRows(WindowHandle list, int first, int count) {
  return winsys_internal::WithControlData(
      list, &WindowRecord::list_view, std::vector<ListViewRowSnapshot>(),
      [&](Registry&, WindowRecord&, winsys_internal::ListViewData& data) {
        const int end = std::min(static_cast<long>(data.rows.size()),
                                 static_cast<long>(std::max(first, 0)) + std::max(count, 0));
        std::vector<ListViewRowSnapshot> rows;
        for (int index = std::max(first, 0); index < end; ++index) {
          const winsys_internal::ListViewRowData& row = data.rows[index];
          rows.push_back(
              {index, row.row.texts, row.row.image, row.selected, data.focused == index});
        }
        return rows;
      });
}

void SetChangeListener(std::function<void()> listener) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.change_listener =
      listener ? std::make_shared<const std::function<void()>>(std::move(listener)) : nullptr;
}

}  // namespace tavi::platform
