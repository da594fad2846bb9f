#include "ui/window_placement.h"

#include <algorithm>

#include "platform/winsys.h"
#include "platform/winsys_geometry.h"

namespace tavi {
namespace {

int KeepInRange(int stored, int length, int screen_length) {
  return std::clamp(stored, 0, std::max(0, screen_length - length));
}

}  // namespace

platform::Point KeepOnScreen(platform::Point stored, platform::Size size, platform::Size screen) {
  return {KeepInRange(stored.x, size.width, screen.width),
          KeepInRange(stored.y, size.height, screen.height)};
}

bool PlaceWindow(platform::WindowHandle window, platform::Point stored) {
  const auto rect = platform::GetWindowRect(window);
  const auto desktop = platform::GetWindowRect(platform::GetDesktopWindow());
  if (!rect || !desktop) return false;
  const platform::Point origin =
      KeepOnScreen(stored, {rect->Width(), rect->Height()}, {desktop->Width(), desktop->Height()});
  return platform::MoveWindow(
      window, {origin.x, origin.y, origin.x + rect->Width(), origin.y + rect->Height()});
}

}  // namespace tavi
