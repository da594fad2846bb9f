#pragma once

// The cursors Tavi's windows show, by resource id, with the CSS cursor that a
// browser front end shows in their place (the animated ones included: a
// browser has no animated cursors of a program's own).

#include <string_view>

namespace tavi::res {

struct CursorResource {
  int id = 0;
  std::string_view css_cursor;
};

// Over every splitter bar: the vertical-resize cursor.
inline constexpr CursorResource kSplitterCursor{1080, "row-resize"};
// The main window's class cursor while a download runs.
inline constexpr CursorResource kBusyCursor{248, "wait"};
// The main window's activity picture while a download runs from the
// window, and while the background cache is imported.
inline constexpr CursorResource kDownloadActivityCursor{287, "progress"};
inline constexpr CursorResource kImportActivityCursor{234, "progress"};

// The cursor resource `id`; nullptr when Tavi has none of that id.
const CursorResource* FindCursor(int id);

}  // namespace tavi::res
