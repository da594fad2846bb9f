#include "platform/winsys_input_routing.h"

#include <algorithm>

namespace tavi::platform::winsys_internal {
namespace {

void HoldModifiers(Registry& registry, std::uint32_t modifiers) {
  registry.keys_down[virtual_key::kShift] = (modifiers & key_modifier::kShift) != 0;
  registry.keys_down[virtual_key::kControl] = (modifiers & key_modifier::kControl) != 0;
  registry.keys_down[virtual_key::kMenu] = (modifiers & key_modifier::kAlt) != 0;
}

struct MouseEffect {
  MessageId message;
  int button;  // the virtual key of the button, 0 for a move
  bool down;
};

MouseEffect EffectOf(MouseAction action) {
  switch (action) {
    case MouseAction::kMove:
      return {WM_MOUSEMOVE, 0, false};
    case MouseAction::kLeftDown:
      return {WM_LBUTTONDOWN, virtual_key::kLeftButton, true};
    case MouseAction::kLeftUp:
      return {WM_LBUTTONUP, virtual_key::kLeftButton, false};
    case MouseAction::kLeftDoubleClick:
      return {WM_LBUTTONDBLCLK, virtual_key::kLeftButton, true};
    case MouseAction::kRightDown:
      return {WM_RBUTTONDOWN, virtual_key::kRightButton, true};
    case MouseAction::kRightUp:
      return {WM_RBUTTONUP, virtual_key::kRightButton, false};
  }
  return {WM_MOUSEMOVE, 0, false};
}

// The MK_ bits of the buttons and keys held now.
WParam MouseKeys(const Registry& registry) {
  WParam keys = 0;
  if (registry.keys_down[virtual_key::kLeftButton]) keys |= MK_LBUTTON;
  if (registry.keys_down[virtual_key::kRightButton]) keys |= MK_RBUTTON;
  if (registry.keys_down[virtual_key::kShift]) keys |= MK_SHIFT;
  if (registry.keys_down[virtual_key::kControl]) keys |= MK_CONTROL;
  return keys;
}

// The window that holds the capture when it belongs to this thread.
WindowHandle CaptureOf(Registry& registry, const ThreadQueue& queue) {
  const WindowRecord* capture = FindRecord(registry, registry.capture);
  return capture != nullptr && capture->thread == queue.thread ? registry.capture : WindowHandle{};
}

// Labels, icons and group boxes let the mouse through to the window behind
// them, unless they are to report clicks (kNotify), as the system's do.
WindowHandle HitTarget(Registry& registry, WindowHandle window) {
  for (const WindowRecord* record = FindRecord(registry, window); record != nullptr;
       record = FindRecord(registry, window)) {
    const bool see_through = record->kind == ControlKind::kLabel ||
                             record->kind == ControlKind::kIcon ||
                             record->kind == ControlKind::kGroupBox;
    if (!see_through || (record->style & control_style::kNotify) != 0) return window;
    window = record->parent;
  }
  return window;
}

bool DeliverMouse(Registry& registry, ThreadQueue& queue, Message& message) {
  const WindowHandle capture = CaptureOf(registry, queue);
  const WindowHandle target = capture ? capture : HitTarget(registry, message.window);
  if (!capture && !TakesInput(registry, target)) return false;
  const MouseEffect effect = EffectOf(static_cast<MouseAction>(KindOf(message.wparam)));
  const Point screen = ClampToClip(registry, PointFromLParam(message.lparam));
  registry.cursor = screen;
  HoldModifiers(registry, ModifiersOf(message.wparam));
  if (effect.button != 0) registry.keys_down[effect.button] = effect.down;
  if (effect.down && !capture) RaiseTopLevel(registry, target);
  TouchSystem(registry);
  const Point origin = ClientOriginOf(registry, *FindRecord(registry, target));
  message = {target, effect.message, MouseKeys(registry),
             MakePointLParam({screen.x - origin.x, screen.y - origin.y})};
  return true;
}

// The window a key without a window goes to: the thread's focus, else its
// topmost visible top-level window.
WindowHandle KeyTarget(Registry& registry, const ThreadQueue& queue) {
  if (queue.focus) return queue.focus;
  for (const WindowHandle window : registry.top_levels) {
    const WindowRecord& record = *FindRecord(registry, window);
    if (record.thread == queue.thread && record.visible) return window;
  }
  return {};
}

bool DeliverKey(Registry& registry, ThreadQueue& queue, Message& message) {
  const WindowHandle target = message.window ? message.window : KeyTarget(registry, queue);
  if (!TakesInput(registry, target)) return false;
  const auto key = static_cast<int>(message.wparam);
  const bool down = KindOf(message.lparam) != 0;
  const std::uint32_t modifiers = ModifiersOf(message.lparam);
  HoldModifiers(registry, modifiers);
  registry.keys_down[key] = down;
  TouchSystem(registry);
  message = {target, down ? WM_KEYDOWN : WM_KEYUP, message.wparam, static_cast<LParam>(modifiers)};
  return true;
}

bool DeliverMenuCommand(Registry& registry, Message& message) {
  const auto command = static_cast<int>(message.wparam);
  const MenuEntry* entry =
      FindCommandEntry(registry, FindRecord(registry, message.window)->menu, command);
  if (entry == nullptr || entry->disabled) return false;
  message = {message.window, WM_COMMAND, MakeWParam(command, 0), 0};
  return true;
}

int HoldTo(int size, int minimum, int maximum) {
  if (maximum > 0) size = std::min(size, maximum);
  if (minimum > 0) size = std::max(size, minimum);
  return size;
}

// Holds the size a person asks for to the window's tracking sizes, keeping
// its top-left corner.
void HoldToTrackingSizes(Registry& registry, Message& message) {
  const TrackingSizes& tracking = FindRecord(registry, message.window)->tracking;
  const Rect asked = RectFromLParam(message.lparam);
  const int width = HoldTo(asked.Width(), tracking.minimum.width, tracking.maximum.width);
  const int height = HoldTo(asked.Height(), tracking.minimum.height, tracking.maximum.height);
  message.lparam = MakeRectLParam({asked.left, asked.top, asked.left + width, asked.top + height});
}

}  // namespace

LParam MakeRectLParam(const Rect& rect) {
  static_assert(sizeof(LParam) >= 8, "a rectangle takes four 16-bit values");
  const auto part = [](int value, int shift) {
    return static_cast<std::uint64_t>(static_cast<std::uint16_t>(value)) << shift;
  };
  return static_cast<LParam>(part(rect.left, 0) | part(rect.top, 16) | part(rect.right, 32) |
                             part(rect.bottom, 48));
}

Rect RectFromLParam(LParam lparam) {
  const auto value = static_cast<std::uint64_t>(lparam);
  const auto part = [value](int shift) { return static_cast<std::int16_t>(value >> shift); };
  return {part(0), part(16), part(32), part(48)};
}

bool DeliverInput(Registry& registry, ThreadQueue& queue, Message& message) {
  switch (message.message) {
    case kMouseInput:
      return DeliverMouse(registry, queue, message);
    case kKeyInput:
      return DeliverKey(registry, queue, message);
  }
  if (!TakesInput(registry, message.window)) return false;
  switch (message.message) {
    case kMenuCommandInput:
      return DeliverMenuCommand(registry, message);
    case kWindowRectInput:
      HoldToTrackingSizes(registry, message);
      return true;
    case kListViewClickInput:
    case kTreeViewClickInput:
      HoldModifiers(registry, ModifiersOf(static_cast<std::uintptr_t>(message.lparam)));
      TouchSystem(registry);
      return true;
  }
  return true;
}

std::optional<std::string> TakeTypedText(std::uint64_t serial) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const auto found = registry.typed_texts.find(serial);
  if (found == registry.typed_texts.end()) return std::nullopt;
  std::string text = std::move(found->second.text);
  registry.typed_texts.erase(found);
  return text;
}

void RaiseTopLevel(Registry& registry, WindowHandle window) {
  const WindowHandle top = TopLevelOf(registry, window);
  const auto position = std::ranges::find(registry.top_levels, top);
  if (position == registry.top_levels.end()) return;
  std::rotate(registry.top_levels.begin(), position, position + 1);
  Touch(registry, *FindRecord(registry, top));
}

}  // namespace tavi::platform::winsys_internal
