#pragma once

// The pictures a module's windows show, as a front end finds them: a module
// that creates windows registers its icon images and cursors when it is
// loaded, as a module's resources come with it on the system, and a front end
// that draws the windows (the stand-in host's page) looks them up by id.
// Process-wide and safe from any thread; registering an id again replaces it.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/window_templates.h"

namespace tavi::platform {

// Registers copies of `images` (the module may be unloaded later).
void RegisterIconImages(std::span<const IconImage> images);

// The SVG document of the icon `id`; nullopt when no module registered one.
std::optional<std::string> FindIconImage(int id);

// Registers the cursor `id` as the CSS cursor a browser shows for it.
void RegisterCursor(int id, std::string_view css_cursor);

// The CSS cursor of the cursor `id`; nullopt when no module registered one.
std::optional<std::string> FindCursor(int id);

}  // namespace tavi::platform
