#pragma once

// The keyboard: the state of keys and mouse buttons, and accelerator tables.

#include <cstdint>

#include "platform/window_templates.h"
#include "platform/winsys.h"

namespace tavi::platform {

// Whether `key` (a virtual key: virtual_key::kShift, kControl, kMenu, a
// mouse button, any key) is held, as the last input delivered left it: the
// high bit (0x8000, a negative value) is set while it is held; 0 otherwise,
// and for keys outside 1..255.
std::int16_t GetAsyncKeyState(int key);

// The key_modifier bits a WM_KEYDOWN or WM_KEYUP carries.
std::uint32_t KeyModifiersOf(const Message& message);

// When `message` is a WM_KEYDOWN whose key and modifiers (exactly) are an
// entry of `table`, sends `window` WM_COMMAND with the entry's command and
// kAcceleratorCommandCode and returns true; otherwise false.
bool TranslateAccelerator(WindowHandle window, const AcceleratorTable& table,
                          const Message& message);

}  // namespace tavi::platform
