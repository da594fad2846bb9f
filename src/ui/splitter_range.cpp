#include "ui/splitter_range.h"

#include <algorithm>

namespace tavi {

std::optional<DragRange> AllowedDragRange(const platform::Rect& parent_client,
                                          std::span<const platform::Rect> above,
                                          std::span<const platform::Rect> below, int top_margin,
                                          int bottom_margin) {
  DragRange range{parent_client.top + top_margin, parent_client.bottom - bottom_margin};
  for (const platform::Rect& control : above) {
    range.low = std::max(range.low, control.top + top_margin);
  }
  for (const platform::Rect& control : below) {
    range.high = std::min(range.high, control.bottom - bottom_margin);
  }
  if (range.low >= range.high) return std::nullopt;
  return range;
}

platform::Rect DragClipRect(const platform::Rect& bar, int grab_y, const DragRange& range) {
  // The clip rectangle's bottom is exclusive: the lowest point it allows puts
  // the bar's bottom at the range's end.
  return {bar.left, range.low + grab_y, bar.right, range.high + grab_y - bar.Height() + 1};
}

}  // namespace tavi
