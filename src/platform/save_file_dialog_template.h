#pragma once

// The save-file dialog's own template and the ids of its controls, for the
// dialog and for those who drive it as a person would.

#include <string>

#include "platform/window_templates.h"

namespace tavi::platform::save_file_dialog {

inline constexpr int kFolderPath = 1100;  // label: the folder shown
inline constexpr int kUpButton = 1101;
inline constexpr int kFileList = 1102;  // list view: "[folder]" rows, then files
inline constexpr int kFileName = 1103;  // edit
inline constexpr int kFileType = 1104;  // drop-down list of the filter's types

// The dialog's template with `caption`; Save is IDOK, Cancel IDCANCEL.
DialogTemplate Template(const std::string& caption);

}  // namespace tavi::platform::save_file_dialog
