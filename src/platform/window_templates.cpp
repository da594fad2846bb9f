#include "platform/window_templates.h"

namespace tavi::platform {
namespace {

// The average character of the sans-serif faces at 8 points, 96 dots per
// inch; other sizes scale with it.
constexpr int kCharacterWidthAt8 = 6;
constexpr int kCharacterHeightAt8 = 13;
constexpr int kReferenceSize = 8;

int Scale(int units, int character, int font_size, int units_per_character) {
  // Rounded to the nearest pixel, as the system's conversion rounds.
  const long numerator = static_cast<long>(units) * character * font_size;
  const long denominator = static_cast<long>(units_per_character) * kReferenceSize;
  return static_cast<int>((2 * numerator + denominator) / (2 * denominator));
}

}  // namespace

UnitRect DialogUnitsToPixels(const UnitRect& units, int font_size) {
  return {Scale(units.x, kCharacterWidthAt8, font_size, 4),
          Scale(units.y, kCharacterHeightAt8, font_size, 8),
          Scale(units.width, kCharacterWidthAt8, font_size, 4),
          Scale(units.height, kCharacterHeightAt8, font_size, 8)};
}

}  // namespace tavi::platform
