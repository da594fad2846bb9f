#pragma once

// The keyboard: accelerator tables.

#include "platform/window_templates.h"
#include "platform/winsys.h"

namespace tavi::platform {

// The key_modifier bits a WM_KEYDOWN or WM_KEYUP carries.
std::uint32_t KeyModifiersOf(const Message& message);

// When `message` is a WM_KEYDOWN whose key and modifiers (exactly) are an
// entry of `table`, sends `window` WM_COMMAND with the entry's command and
// kAcceleratorCommandCode and returns true; otherwise false.
bool TranslateAccelerator(WindowHandle window, const AcceleratorTable& table,
                          const Message& message);

}  // namespace tavi::platform
