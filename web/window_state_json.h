#pragma once

// One window's state as the page draws it, in JSON. Every text (a title, a
// label, a tree item, a menu entry) goes out as a JSON string, for the page
// to show as text. Handles are numbers (0: none); rectangles are
// {"left", "top", "right", "bottom"} in pixels.
//
// A window:
//   {"handle", "parent", "owner", "class", "text",
//    "kind": "window" | "dialog" | "label" | "icon" | "group_box" | "button" |
//            "check_box" | "edit" | "list_view" | "tree_view" | "progress_bar" |
//            "browser" | "rich_text" | "toolbar",
//    "control_id", "style": [names of its style bits, e.g. "caption", "default_button"],
//    "icon": icon id (0: none), "cursor": the CSS cursor over it ("" : the usual arrow),
//    "rect" (in the parent's client area; top-level: the screen),
//    "client" (relative to the window's top-left corner),
//    "visible", "enabled", "focused", "blocked",
//    "show_state": "normal" | "minimized" | "maximized",
//    "tracking": {"min_width", "min_height", "max_width", "max_height"} (0: no limit),
//    "checked", "progress", "version",
//    "menu_bar": [MENU ITEM...] (only with a menu bar),
//    "list_view": {"columns": [{"title", "width"}], "images": [icon ids], "row_count",
//                  "selected_rows": [...], "focused_row", "top_row"} (list views),
//    "tree_view": {"images": [icon ids], "items": [{"item", "parent", "depth", "text",
//                  "image", "selected_image", "expanded", "selected", "has_children"}]}
//                 (every item in display order; tree views),
//    "toolbar": {"button_size", "buttons": [{"command", "icon", "tooltip", "dropdown",
//                "enabled", "rect"}]} (toolbars; command 0: a separator)}
// A menu item: {"text", "command", "separator", "disabled", "checked", "items": [...]}.

#include <vector>

#include "platform/winsys_snapshot.h"
#include "web/json_writer.h"

namespace tavi::web {

// Writes `state` as one JSON object.
void WriteWindowState(JsonWriter& json, const platform::WindowSnapshot& state);

// Writes `items` as a JSON array of menu items.
void WriteMenuItems(JsonWriter& json, const std::vector<platform::MenuItemTemplate>& items);

// Writes {"left", "top", "right", "bottom"}.
void WriteRect(JsonWriter& json, const platform::Rect& rect);

}  // namespace tavi::web
