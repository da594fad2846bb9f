#pragma once

// The plug-in's windows as the page draws them, in JSON, read from the
// window system's snapshot on the host's user-interface thread. The host's
// own windows are left out (plugin_windows.h). Every text goes out as a JSON
// string, for the page to show as text.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/winsys_types.h"

namespace tavi::web {

// The most list-view rows one read gives.
inline constexpr int kMaxRowsPerRead = 500;

// What changed after version `since` (0: everything):
//   {"version": the version to ask from next,
//    "desktop": {"width", "height"}, "capture": the window holding the mouse (0: none),
//    "host_blocked": whether a modal window blocks the host's main window,
//    "order": [every plug-in window, top-level windows topmost first, each
//              followed by its descendants, siblings topmost first],
//    "windows": [the windows changed since `since`, in that order; see
//                window_state_json.h],
//    "message_boxes": [{"id", "owner", "caption", "text",
//                       "icon": "error" | "question" | "warning" | "information" | "",
//                       "buttons": [{"answer", "text"}], "default_answer"}],
//    "popup_menus": [{"id", "owner", "x", "y" (screen), "items": [MENU ITEM...]}]}
// A window missing from "order" is gone.
std::string WindowsJson(std::uint64_t since);

// Rows `first` to `first` + `count` - 1 of a plug-in list view (count held
// to kMaxRowsPerRead):
//   {"window", "row_count", "first",
//    "rows": [{"index", "texts": [...], "image", "selected", "focused"}]}
// with "image" an index into the view's images. nullopt when `list` is no
// list view of the plug-in.
std::optional<std::string> ListViewRowsJson(platform::WindowHandle list, int first, int count);

}  // namespace tavi::web
