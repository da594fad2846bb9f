#pragma once

// Tavi's help: a folder of HTML pages shipped beside the module (the help
// file of the plug-in's paths), one page per topic, opened through the
// shell, whose handler shows the page in the browser.

#include <string>

#include "platform/winsys.h"

namespace tavi {

inline constexpr const char* kGettingStartedTopic = "Getting Started.htm";
inline constexpr const char* kDownloadingArticlesTopic = "Downloading Articles.htm";
inline constexpr const char* kSettingsTopic = "Settings.htm";

// The page of `topic` in the help folder `help_file`.
std::string HelpTopicPath(const std::string& help_file, const std::string& topic);

// Opens the page of `topic` for `owner` with the shell verb "open". Does
// nothing and returns false when the help folder or the page is missing or
// the shell could not open it: help is a courtesy, never an error.
bool OpenHelpTopic(platform::WindowHandle owner, const std::string& help_file,
                   const std::string& topic);

}  // namespace tavi
