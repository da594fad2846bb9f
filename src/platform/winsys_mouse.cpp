#include "platform/winsys_mouse.h"

#include <algorithm>

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace winsys_internal {

Point ClampToClip(const Registry& registry, Point point) {
  if (!registry.clip) return point;
  const Rect& clip = *registry.clip;
  // The last pixel inside: right and bottom are exclusive.
  return {std::clamp(point.x, clip.left, std::max(clip.left, clip.right - 1)),
          std::clamp(point.y, clip.top, std::max(clip.top, clip.bottom - 1))};
}

}  // namespace winsys_internal

using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

namespace {

// Moves the capture to `window` (none: nobody) and returns who held it.
WindowHandle MoveCapture(WindowHandle window) {
  Registry& registry = TheRegistry();
  WindowHandle previous;
  {
    Lock lock(registry.lock);
    if (window && winsys_internal::FindRecord(registry, window) == nullptr) return {};
    previous = registry.capture;
    registry.capture = window;
    winsys_internal::TouchSystem(registry);
  }
  if (previous && previous != window) {
    SendMessage(previous, WM_CAPTURECHANGED, 0, HandleToLParam(window));
  }
  return previous;
}

}  // namespace

WindowHandle SetCapture(WindowHandle window) {
  if (!window) return {};
  return MoveCapture(window);
}

bool ReleaseCapture() {
  MoveCapture({});
  return true;
}

WindowHandle GetCapture() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return registry.capture;
}

void ClipCursor(std::optional<Rect> rect) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.clip = rect;
  registry.cursor = winsys_internal::ClampToClip(registry, registry.cursor);
  winsys_internal::TouchSystem(registry);
}

std::optional<Rect> GetClipCursor() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return registry.clip;
}

Point GetCursorPos() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return registry.cursor;
}

Point SetCursorPos(Point point) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.cursor = winsys_internal::ClampToClip(registry, point);
  winsys_internal::TouchSystem(registry);
  return registry.cursor;
}

bool SetWindowCursor(WindowHandle window, int cursor_id) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = winsys_internal::FindRecord(registry, window);
  if (record == nullptr) return false;
  record->cursor_id = cursor_id;
  winsys_internal::Touch(registry, *record);
  return true;
}

int GetWindowCursor(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = winsys_internal::FindRecord(registry, window);
  return record == nullptr ? 0 : record->cursor_id;
}

}  // namespace tavi::platform
