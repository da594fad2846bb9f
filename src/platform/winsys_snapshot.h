#pragma once

// What front ends draw from: every window's state, read in one go under the
// window system's lock, and a listener that tells a front end when to read
// again.
//
// Each window carries a version that rises whenever its state changes (to
// the process-wide version of that change), so a front end that holds the
// state of version V asks for the windows changed since V and the list of
// windows that still exist.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/winsys.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_toolbar.h"
#include "platform/winsys_tree_view.h"

namespace tavi::platform {

// A list view's state, without its rows (ReadListViewRows reads those).
struct ListViewSnapshot {
  std::vector<ListViewColumn> columns;
  std::vector<int> images;  // icon ids
  int row_count = 0;
  std::vector<int> selected_rows;
  int focused_row = -1;
  int top_row = 0;
};

struct ListViewRowSnapshot {
  int index = 0;
  std::vector<std::string> texts;
  int image = 0;
  bool selected = false;
  bool focused = false;
};

struct TreeItemSnapshot {
  TreeItem item;
  TreeItem parent;  // none for a top-level item
  int depth = 0;    // 0 for a top-level item
  std::string text;
  int image = 0;
  int selected_image = 0;
  bool expanded = false;
  bool selected = false;
  bool has_children = false;
};

struct TreeViewSnapshot {
  std::vector<int> images;  // icon ids
  // Every item (also those inside collapsed items), each followed by its
  // children, in display order.
  std::vector<TreeItemSnapshot> items;
};

struct ToolbarButtonSnapshot {
  ToolbarButtonTemplate button;  // command 0: a separator
  bool enabled = true;
  Rect rect;  // in the toolbar's client area
};

struct ToolbarSnapshot {
  int button_size = 0;
  std::vector<ToolbarButtonSnapshot> buttons;
};

struct DropDownSnapshot {
  std::vector<std::string> items;
  int selection = -1;  // -1: nothing chosen
};

// The state of one window.
struct WindowSnapshot {
  WindowHandle handle;
  WindowHandle parent;  // none for a top-level window
  WindowHandle owner;   // top-level windows only
  ThreadId thread = 0;
  std::string class_name;
  std::string text;
  std::optional<ControlKind> kind;  // nullopt: a plain window or a dialog
  bool is_dialog = false;
  int control_id = 0;
  std::uint32_t style = 0;  // control_style for a control, else dialog_style
  int icon_id = 0;
  int cursor_id = 0;     // the cursor shown over it (SetWindowCursor); 0: the usual arrow
  Rect rect;             // in the parent's client area (top-level: the screen)
  Rect client;           // the client area, relative to the window's top-left corner
  bool visible = false;  // the window's own flag (see IsWindowVisible)
  bool enabled = false;  // the window's own flag
  bool focused = false;  // holds its thread's keyboard focus
  ShowState show_state = ShowState::kNormal;
  // A modal loop (dialog, box, popup) waits with its top-level window
  // disabled; follows the top-level window, whose version rises with it.
  bool blocked = false;
  TrackingSizes tracking;
  bool checked = false;                    // check boxes
  int progress = 0;                        // progress bars
  MenuHandle menu;                         // the menu bar, none without one
  std::vector<MenuItemTemplate> menu_bar;  // its entries with their states
  std::optional<ListViewSnapshot> list_view;
  std::optional<TreeViewSnapshot> tree_view;
  std::optional<ToolbarSnapshot> toolbar;
  std::optional<DropDownSnapshot> drop_down;
  std::uint64_t version = 0;
};

// A popup menu waiting for the front end's answer, with its entries.
struct PendingPopupMenu {
  PopupMenuRequest request;
  std::vector<MenuItemTemplate> items;
};

struct Snapshot {
  // The version of the last change anywhere: ask for changes since it next.
  std::uint64_t version = 0;
  // Every window, top-level windows topmost first, each followed by its
  // descendants (siblings topmost first): a window missing here is gone.
  std::vector<WindowHandle> order;
  // The windows changed since the version asked for, in the same order.
  std::vector<WindowSnapshot> windows;
  Size desktop;
  WindowHandle capture;
  std::optional<Rect> clip;
  Point cursor;
  // What waits for the front end's answer, oldest first.
  std::vector<MessageBoxRequest> message_boxes;
  std::vector<PendingPopupMenu> popup_menus;
};

// The snapshot of everything changed after version `since` (0: every
// window).
Snapshot TakeSnapshot(std::uint64_t since = 0);

// The rows `first` to `first` + `count` - 1 of a list view (fewer when the
// view has fewer), so that a front end reads only the rows it shows; empty
// when `list` is not a list view.
std::vector<ListViewRowSnapshot> ReadListViewRows(WindowHandle list, int first, int count);

// Installs the process-wide change listener (an empty function removes it).
// It is called after any change of the window system's state, on the thread
// that made the change, never with the window system's lock held; it must be
// cheap (note the change and return) and may be called from several threads
// at once.
void SetChangeListener(std::function<void()> listener);

}  // namespace tavi::platform
