#pragma once

// Where a splitter bar may be dragged: the range of its top edge, kept clear
// of the parent's edges and of its neighbours by the bar's margins, and the
// rectangle the cursor is confined to so that the bar stays in that range.

#include <optional>
#include <span>

#include "platform/winsys_types.h"

namespace tavi {

// The bar's top may go from `low` to `high` (screen y).
struct DragRange {
  int low = 0;
  int high = 0;

  friend bool operator==(const DragRange&, const DragRange&) = default;
};

// The range for a bar in a parent whose client area is `parent_client`, with
// the controls whose bottom edge follows the bar at `above` and those whose
// top edge follows it at `below` (all on the screen): the top margin away
// from the client area's top and from the top of every control above, the
// bottom margin away from the client area's bottom and from the bottom of
// every control below. nullopt when nothing is left (low >= high): the parent
// is too short for the margins, and the bar does not move.
std::optional<DragRange> AllowedDragRange(const platform::Rect& parent_client,
                                          std::span<const platform::Rect> above,
                                          std::span<const platform::Rect> below, int top_margin,
                                          int bottom_margin);

// The cursor's confinement during a drag of the bar at `bar` (screen) that
// was grabbed `grab_y` pixels below its top: the bar's own width across, and
// down the points that put the bar's top in `range` and its bottom no lower
// than the range's end.
platform::Rect DragClipRect(const platform::Rect& bar, int grab_y, const DragRange& range);

}  // namespace tavi
