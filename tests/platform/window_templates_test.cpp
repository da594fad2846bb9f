#include "platform/window_templates.h"

#include <gtest/gtest.h>

namespace tavi::platform {
namespace {

TEST(DialogUnits, AQuarterCharacterAcrossAndAnEighthDown) {
  const struct {
    UnitRect units;
    int font_size;
    UnitRect pixels;
  } rows[] = {
      // The information dialog: 267 by 116 units of 8-point text.
      {{0, 0, 267, 116}, 8, {0, 0, 401, 189}},
      {{4, 8, 4, 8}, 8, {6, 13, 6, 13}},
      // Half units round to the nearest pixel.
      {{1, 1, 0, 0}, 8, {2, 2, 0, 0}},
      {{4, 8, 0, 0}, 10, {8, 16, 0, 0}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.units.width);
    EXPECT_EQ(DialogUnitsToPixels(row.units, row.font_size), row.pixels);
  }
}

}  // namespace
}  // namespace tavi::platform
