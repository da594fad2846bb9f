#include "platform/winsys_geometry.h"

#include <algorithm>

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace winsys_internal {
namespace {

// How thick the frame of a window (not a control) is on each side (left,
// top, right, bottom).
Rect FrameOf(std::uint32_t style, bool has_menu) {
  int border = 0;
  if ((style & dialog_style::kResizable) != 0) {
    border = kResizableBorderWidth;
  } else if ((style & dialog_style::kCaption) != 0) {
    border = kBorderWidth;
  }
  const int caption = (style & dialog_style::kCaption) != 0 ? kCaptionHeight : 0;
  const int menu_bar = has_menu ? kMenuBarHeight : 0;
  return {border, border + caption + menu_bar, border, border};
}

Rect FrameOf(const WindowRecord& record) {
  if (record.kind) return {};
  return FrameOf(record.style, static_cast<bool>(record.menu));
}

}  // namespace

Rect ScreenRectOf(Registry& registry, const WindowRecord& record) {
  const WindowRecord* parent = FindRecord(registry, record.parent);
  if (parent == nullptr) return record.rect;
  const Point origin = ClientOriginOf(registry, *parent);
  return record.rect.Offset(origin.x, origin.y);
}

Point ClientOriginOf(Registry& registry, const WindowRecord& record) {
  const Rect screen = ScreenRectOf(registry, record);
  const Rect frame = FrameOf(record);
  return {screen.left + frame.left, screen.top + frame.top};
}

Rect ClientAreaInWindowOf(Registry& registry, const WindowRecord& record) {
  const Rect screen = ScreenRectOf(registry, record);
  const Point origin = ClientOriginOf(registry, record);
  const Size size = ClientSizeOf(record);
  const Point offset{origin.x - screen.left, origin.y - screen.top};
  return {offset.x, offset.y, offset.x + size.width, offset.y + size.height};
}

Size ClientSizeOf(const WindowRecord& record) {
  if (record.show_state == ShowState::kMinimized) return {};
  const Rect frame = FrameOf(record);
  return {std::max(0, record.rect.Width() - frame.left - frame.right),
          std::max(0, record.rect.Height() - frame.top - frame.bottom)};
}

}  // namespace winsys_internal

using winsys_internal::FindRecord;
using winsys_internal::kDesktop;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::WindowRecord;

namespace {

Rect DesktopRect(const Registry& registry) {
  return {0, 0, registry.desktop.width, registry.desktop.height};
}

// What a maximised window fills: its parent's client area. Lock held.
Rect MaximizedRect(Registry& registry, const WindowRecord& record) {
  const WindowRecord* parent = FindRecord(registry, record.parent);
  if (parent == nullptr) return DesktopRect(registry);
  const Size client = winsys_internal::ClientSizeOf(*parent);
  return {0, 0, client.width, client.height};
}

// Puts the window into `state`, moving it where that state puts it.
// Lock held.
void ChangeShowState(Registry& registry, WindowRecord& record, ShowState state) {
  if (record.show_state == state) return;
  if (record.show_state == ShowState::kNormal) record.normal_rect = record.rect;
  record.show_state = state;
  switch (state) {
    case ShowState::kNormal:
      record.rect = record.normal_rect;
      break;
    case ShowState::kMaximized:
      record.rect = MaximizedRect(registry, record);
      break;
    case ShowState::kMinimized:
      break;
  }
}

WParam SizeKind(ShowState state) {
  switch (state) {
    case ShowState::kNormal:
      return SIZE_RESTORED;
    case ShowState::kMinimized:
      return SIZE_MINIMIZED;
    case ShowState::kMaximized:
      return SIZE_MAXIMIZED;
  }
  return SIZE_RESTORED;
}

// The show state a ShowWindow command asks for; nullopt: keep the state.
std::optional<ShowState> RequestedState(int command) {
  switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      return ShowState::kMinimized;
    case SW_MAXIMIZE:
      return ShowState::kMaximized;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      return ShowState::kNormal;
  }
  return std::nullopt;
}

// Reads one thing of a live window under the lock; `fallback` for a stale
// handle.
template <typename Result, typename Read>
Result ReadRecord(WindowHandle window, Result fallback, Read read) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return fallback;
  return read(registry, *record);
}

}  // namespace

Rect AdjustWindowRect(const Rect& client, std::uint32_t style, bool has_menu) {
  const Rect frame = winsys_internal::FrameOf(style, has_menu);
  return {client.left - frame.left, client.top - frame.top, client.right + frame.right,
          client.bottom + frame.bottom};
}

bool MoveWindow(WindowHandle window, const Rect& rect) {
  Registry& registry = TheRegistry();
  Size before;
  Size after;
  ShowState state;
  {
    Lock lock(registry.lock);
    WindowRecord* record = FindRecord(registry, window);
    if (record == nullptr) return false;
    before = winsys_internal::ClientSizeOf(*record);
    record->rect = rect;
    if (record->show_state == ShowState::kNormal) record->normal_rect = rect;
    after = winsys_internal::ClientSizeOf(*record);
    state = record->show_state;
    winsys_internal::Touch(registry, *record);
  }
  if (before != after) SendMessage(window, WM_SIZE, SizeKind(state), MakeSizeLParam(after));
  return true;
}

bool ShowWindow(WindowHandle window, int command) {
  bool show = command != SW_HIDE;
  if (show && !IsWindowVisible(window)) {
    // A window may refuse to be shown by anyone but itself; a minimise or
    // maximise it refused to show still changes its state.
    WindowPos change{window, SWP_SHOWWINDOW};
    SendMessage(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LParam>(&change));
    show = (change.flags & SWP_SHOWWINDOW) != 0;
  }
  Registry& registry = TheRegistry();
  bool was_visible;
  bool resized;
  Size client;
  ShowState state;
  {
    Lock lock(registry.lock);
    WindowRecord* record = FindRecord(registry, window);
    if (record == nullptr) return false;
    was_visible = record->visible;
    record->visible = show;
    const ShowState old_state = record->show_state;
    const Size old_client = winsys_internal::ClientSizeOf(*record);
    if (const std::optional<ShowState> requested = RequestedState(command)) {
      ChangeShowState(registry, *record, *requested);
    }
    state = record->show_state;
    client = winsys_internal::ClientSizeOf(*record);
    resized = state != old_state || client != old_client;
    winsys_internal::Touch(registry, *record);
  }
  if (resized) SendMessage(window, WM_SIZE, SizeKind(state), MakeSizeLParam(client));
  return was_visible;
}

std::optional<Rect> GetWindowRect(WindowHandle window) {
  if (window == kDesktop) {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    return DesktopRect(registry);
  }
  return ReadRecord<std::optional<Rect>>(window, std::nullopt,
                                         [](Registry& registry, const WindowRecord& record) {
                                           return winsys_internal::ScreenRectOf(registry, record);
                                         });
}

std::optional<Rect> GetChildRect(WindowHandle window) {
  return ReadRecord<std::optional<Rect>>(
      window, std::nullopt, [](Registry&, const WindowRecord& record) { return record.rect; });
}

std::optional<Rect> GetClientRect(WindowHandle window) {
  if (window == kDesktop) return GetWindowRect(window);
  return ReadRecord<std::optional<Rect>>(window, std::nullopt,
                                         [](Registry&, const WindowRecord& record) {
                                           const Size size = winsys_internal::ClientSizeOf(record);
                                           return Rect{0, 0, size.width, size.height};
                                         });
}

std::optional<Rect> GetClientAreaInWindow(WindowHandle window) {
  return ReadRecord<std::optional<Rect>>(window, std::nullopt,
                                         winsys_internal::ClientAreaInWindowOf);
}

Point ClientToScreen(WindowHandle window, Point point) {
  return ReadRecord(window, point, [point](Registry& registry, const WindowRecord& record) {
    const Point origin = winsys_internal::ClientOriginOf(registry, record);
    return Point{point.x + origin.x, point.y + origin.y};
  });
}

Point ScreenToClient(WindowHandle window, Point point) {
  return ReadRecord(window, point, [point](Registry& registry, const WindowRecord& record) {
    const Point origin = winsys_internal::ClientOriginOf(registry, record);
    return Point{point.x - origin.x, point.y - origin.y};
  });
}

ShowState GetShowState(WindowHandle window) {
  return ReadRecord(window, ShowState::kNormal,
                    [](Registry&, const WindowRecord& record) { return record.show_state; });
}

bool IsIconic(WindowHandle window) { return GetShowState(window) == ShowState::kMinimized; }

bool IsZoomed(WindowHandle window) { return GetShowState(window) == ShowState::kMaximized; }

bool SetWindowTrackingSizes(WindowHandle window, Size minimum, Size maximum) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  record->tracking = {minimum, maximum};
  winsys_internal::Touch(registry, *record);
  return true;
}

std::optional<TrackingSizes> GetWindowTrackingSizes(WindowHandle window) {
  return ReadRecord<std::optional<TrackingSizes>>(
      window, std::nullopt, [](Registry&, const WindowRecord& record) { return record.tracking; });
}

bool MoveWindowToBottom(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  std::vector<WindowHandle>& siblings = winsys_internal::SiblingsOf(registry, *record);
  const auto position = std::ranges::find(siblings, window);
  std::rotate(position, position + 1, siblings.end());
  winsys_internal::Touch(registry, *record);
  return true;
}

void SetDesktopSize(Size size) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  registry.desktop = {std::max(1, size.width), std::max(1, size.height)};
  winsys_internal::TouchSystem(registry);
}

}  // namespace tavi::platform
