#pragma once

// The About box as the host's plug-in settings command shows it, and its
// texts: the product name and version, two notice lines and the folder Tavi
// is installed in.

#include <string>

#include "plugin/plugin_paths.h"

namespace tavi {

// "About " + ProductName.
std::string AboutCaption(const PluginPaths& paths);

// ProductName, "Version: " VersionText " / Final", the notice lines and
// "Installed in: " with the configuration folder on the next line, the parts
// separated by CR LF.
std::string AboutText(const PluginPaths& paths);

// Shows the About box with these texts modally over the host's main window
// (without an owner when the host shows none) and returns when the user
// closes it.
void ShowAboutBox(const PluginPaths& paths);

}  // namespace tavi
