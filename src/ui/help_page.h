#pragma once

// Tavi's help pages, shipped as one compiled help file beside the module.

#include <string>

namespace tavi {

// The help page of Feed Properties and of the mailbox picker.
inline constexpr const char* kSettingsHelpPage = "Settings.htm";

// Opens `page` of `help_file` in the help viewer ("HH.EXE" with the page's
// address inside the file); when the viewer cannot be started, opens the
// help file itself with the shell, owned by the desktop. Does nothing when
// the help file is not there. Returns whether something was opened.
bool ShowHelpPage(const std::string& help_file, const std::string& page);

}  // namespace tavi
