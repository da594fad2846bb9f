#pragma once

// The About box's texts: the product name and version, two notice lines and
// the folder Tavi is installed in.

#include <string>

#include "plugin/plugin_paths.h"

namespace tavi {

// "About " + ProductName.
std::string AboutCaption(const PluginPaths& paths);

// ProductName, "Version: " VersionText " / Final", the notice lines and
// "Installed in: " with the configuration folder on the next line, the parts
// separated by CR LF.
std::string AboutText(const PluginPaths& paths);

// Shows the About box modally over the host's main window (when known) and
// returns when the user closes it.
void ShowAboutBox(const PluginPaths& paths);

}  // namespace tavi
