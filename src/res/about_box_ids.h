#pragma once

// The About box's resources by name: dialog 102 and its controls. Its caption
// and text are composed at run time from the product name and version, so the
// template carries stand-ins that the box replaces when it opens.

#include "platform/winsys.h"

namespace tavi::res::about_box {

inline constexpr int kDialog = 102;

// Controls. Close is the dialog's OK button: Enter presses it.
inline constexpr int kProductPicture = 1090;
inline constexpr int kAboutText = 1091;
inline constexpr int kHomePageButton = 1092;
inline constexpr int kReleaseNotesButton = 1093;
inline constexpr int kCloseButton = platform::IDOK;

}  // namespace tavi::res::about_box
