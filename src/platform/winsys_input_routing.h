#pragma once

// How injected input travels: the private messages that carry it to the
// window's thread, and their delivery when the thread takes them. Shared by
// the window system's sources and nothing else.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/winsys_input.h"
#include "platform/winsys_registry.h"

namespace tavi::platform::winsys_internal {

// Input as it is posted, turned into the system's messages on delivery:
// - kMouseInput: the window under the pointer; wparam: PackClick-style
//   action and modifiers; lparam: MakePointLParam(screen point);
// - kKeyInput: the window or none; wparam: the key; lparam: PackKey;
// - kMenuCommandInput: the window; wparam: the command (becomes WM_COMMAND).
inline constexpr MessageId kMouseInput = 0x03E0;
inline constexpr MessageId kKeyInput = 0x03E1;
inline constexpr MessageId kMenuCommandInput = 0x03E2;
// Input delivered as it is, to the window's procedure (DefWindowProc or the
// control's own):
// - kWindowRectInput: lparam: MakeRectLParam(screen rectangle);
// - kListViewClickInput: wparam: the row; lparam: PackClick;
// - kListViewColumnInput: wparam: the column;
// - kTreeViewClickInput: wparam: the item id; lparam: PackClick;
// - kTreeViewExpandInput: wparam: the item id; lparam: 1 to expand;
// - kToolbarClickInput: wparam: the command;
// - kTextInput: lparam: the serial number of the typed text;
// - kDropDownSelectInput: wparam: the item picked.
inline constexpr MessageId kWindowRectInput = 0x03E3;
inline constexpr MessageId kListViewClickInput = 0x03E8;
inline constexpr MessageId kListViewColumnInput = 0x03E9;
inline constexpr MessageId kTreeViewClickInput = 0x03EA;
inline constexpr MessageId kTreeViewExpandInput = 0x03EB;
inline constexpr MessageId kToolbarClickInput = 0x03EC;
inline constexpr MessageId kTextInput = 0x03ED;
inline constexpr MessageId kDropDownSelectInput = 0x03EE;

// A kind (a ClickKind, a MouseAction, or 1 for a key going down) with the
// key_modifier bits held.
constexpr std::uintptr_t PackClick(int kind, std::uint32_t modifiers) {
  return static_cast<std::uintptr_t>(kind) | (static_cast<std::uintptr_t>(modifiers) << 8);
}
constexpr int KindOf(std::uintptr_t packed) { return static_cast<int>(packed & 0xFF); }
constexpr std::uint32_t ModifiersOf(std::uintptr_t packed) {
  return static_cast<std::uint32_t>(packed >> 8);
}

// A rectangle as four signed 16-bit values.
LParam MakeRectLParam(const Rect& rect);
Rect RectFromLParam(LParam lparam);

// Turns `message`, posted as input, into what its thread gets (in place);
// false when it can no longer be delivered and is to be dropped. Lock held.
bool DeliverInput(Registry& registry, ThreadQueue& queue, Message& message);

// Takes the text typed for a kTextInput; nullopt when it is gone.
std::optional<std::string> TakeTypedText(std::uint64_t serial);

// Brings the top-level window that holds `window` to the top. Lock held.
void RaiseTopLevel(Registry& registry, WindowHandle window);

}  // namespace tavi::platform::winsys_internal
