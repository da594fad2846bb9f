#pragma once

// What the plug-in hands each of its windows: the part of its one record
// that a window reads (ui/window_context.h).

#include "plugin/plugin_paths.h"
#include "ui/window_context.h"

namespace tavi {

// The windows' record of `paths`, as `paths` stands now (the host's windows
// included, so call it after they were found).
WindowContext WindowContextOf(const PluginPaths& paths);

}  // namespace tavi
