#include "platform/winsys_keyboard.h"

#include <algorithm>

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

constexpr std::uint32_t kModifierMask =
    key_modifier::kShift | key_modifier::kControl | key_modifier::kAlt;

}  // namespace

std::int16_t GetAsyncKeyState(int key) {
  if (key <= 0 || key > 255) return 0;
  winsys_internal::Registry& registry = winsys_internal::TheRegistry();
  winsys_internal::Lock lock(registry.lock);
  return registry.keys_down[key] ? static_cast<std::int16_t>(0x8000) : 0;
}

std::uint32_t KeyModifiersOf(const Message& message) {
  return static_cast<std::uint32_t>(message.lparam) & kModifierMask;
}

bool TranslateAccelerator(WindowHandle window, const AcceleratorTable& table,
                          const Message& message) {
  if (message.message != WM_KEYDOWN) return false;
  const auto key = static_cast<int>(message.wparam);
  const std::uint32_t modifiers = KeyModifiersOf(message);
  const auto entry = std::ranges::find_if(table.entries, [&](const AcceleratorTemplate& candidate) {
    return candidate.key == key && candidate.modifiers == modifiers;
  });
  if (entry == table.entries.end()) return false;
  SendMessage(window, WM_COMMAND, MakeWParam(entry->command, kAcceleratorCommandCode), 0);
  return true;
}

}  // namespace tavi::platform
