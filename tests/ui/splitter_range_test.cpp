#include "ui/splitter_range.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavi {
namespace {

using platform::Rect;

// A parent whose client area is 300 pixels high at y 100 on the screen, with
// a top margin of 20 and a bottom margin of 30.
TEST(SplitterRange, MarginsKeepTheBarOffTheEdgesAndItsNeighboursEnds) {
  const Rect client{50, 100, 250, 400};
  struct Case {
    const char* name;
    std::vector<Rect> above;
    std::vector<Rect> below;
    int top_margin;
    int bottom_margin;
    std::optional<DragRange> expected;
  };
  const Case cases[] = {
      {"no neighbours", {}, {}, 20, 30, DragRange{120, 370}},
      // A neighbour that starts at the client's top asks for no more.
      {"above from the top", {{50, 100, 250, 200}}, {}, 20, 30, DragRange{120, 370}},
      {"above lower down", {{50, 150, 250, 200}}, {}, 20, 30, DragRange{170, 370}},
      {"the lowest top above counts",
       {{50, 100, 250, 200}, {50, 160, 250, 200}},
       {},
       20,
       30,
       DragRange{180, 370}},
      {"below ending early", {}, {{50, 205, 250, 350}}, 20, 30, DragRange{120, 320}},
      {"the highest bottom below counts",
       {},
       {{50, 205, 250, 400}, {50, 205, 250, 330}},
       20,
       30,
       DragRange{120, 300}},
      {"no margins", {}, {}, 0, 0, DragRange{100, 400}},
      // The parent is too short for its margins: the bar stays where it is.
      {"margins overlap", {}, {}, 200, 150, std::nullopt},
      {"margins meet", {}, {}, 150, 150, std::nullopt},
      {"neighbours leave no room",
       {{50, 260, 250, 300}},
       {{50, 305, 250, 310}},
       20,
       30,
       std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(AllowedDragRange(client, c.above, c.below, c.top_margin, c.bottom_margin),
              c.expected);
  }
}

TEST(SplitterRange, TheCursorIsHeldWhereTheBarStaysInsideTheRange) {
  // A bar 4 pixels high, grabbed 3 pixels below its top.
  const Rect bar{50, 200, 250, 204};
  const Rect clip = DragClipRect(bar, 3, DragRange{120, 370});
  EXPECT_EQ(clip, (Rect{50, 123, 250, 370}));
  // The highest cursor puts the bar's top at 120; the lowest (the last row
  // inside, 369) puts its bottom at 370.
  EXPECT_EQ(clip.top - 3, 120);
  EXPECT_EQ(clip.bottom - 1 - 3 + bar.Height(), 370);
}

}  // namespace
}  // namespace tavi
