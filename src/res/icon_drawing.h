#pragma once

// Icons are drawn as small SVG documents from parts, so that pictures which
// share a part (a page, a tray, a feed's option marks) draw it from one place.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_templates.h"

namespace tavi::res {

// One icon: its id, its size (a square, in pixels) and the SVG elements
// drawn in order on it.
struct IconDrawing {
  int id = 0;
  int size = 32;
  std::vector<std::string_view> parts;
};

// A window's icons, drawn once; a table lives as long as the process, as the
// images point into it.
class IconTable {
 public:
  explicit IconTable(std::vector<IconDrawing> drawings);
  IconTable(const IconTable&) = delete;
  IconTable& operator=(const IconTable&) = delete;

  std::span<const platform::IconImage> Images() const { return images_; }

 private:
  std::vector<std::string> documents_;
  std::vector<platform::IconImage> images_;
};

// A mark for one of a feed's options, drawn one way when the option is on
// and another when it is off.
struct OptionMark {
  std::string_view on;
  std::string_view off;
};

// The pictures of a feed for the eight combinations of its options, in the
// order of their ids: option i is on in picture n when bit i of n is set.
// Each is `feed` with every option's mark beside it.
std::vector<IconDrawing> FeedOptionDrawings(std::span<const int, 8> ids, int size,
                                            std::string_view feed,
                                            const std::array<OptionMark, 3>& marks);

}  // namespace tavi::res
