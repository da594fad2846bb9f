#pragma once

// The host's data folder when the user names none, and the folder in it
// where the host keeps its plug-ins: the plug-ins' configuration folder. The
// tavi command and tavi-host find the same folder by the same rule.

#include <string>

namespace tavi::host {

// The name of the plug-ins' folder inside the data folder.
inline constexpr const char* kPluginsFolderName = "plugins";

// The data folder when none is given: $TAVI_DATA when set and not empty,
// else $XDG_DATA_HOME/tavi when that is an absolute path, else
// $HOME/.local/share/tavi; "" when none of them can be found.
std::string DefaultDataFolder();

// `folder` as an absolute, normal path without a trailing separator, so
// that the mailbox paths kept in the settings hold wherever a program runs;
// `folder` as it is when the working folder cannot be known.
std::string AbsoluteFolder(const std::string& folder);

}  // namespace tavi::host
