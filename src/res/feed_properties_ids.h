#pragma once

// The Feed Properties dialog's resources by name: dialog 103, its controls and
// its option icons. The template itself is in feed_properties.cpp.

#include <array>

namespace tavi::res::feed_properties {

inline constexpr int kDialog = 103;

// Controls. The three labels nobody addresses have no id.
inline constexpr int kAliasEdit = 1008;
inline constexpr int kUrlEdit = 1006;
inline constexpr int kValidateButton = 1055;
inline constexpr int kNewsboxButton = 1052;
inline constexpr int kReferringArticlesBox = 1039;
inline constexpr int kOnlyNewArticlesBox = 1042;
inline constexpr int kAutoCheckBox = 1044;
inline constexpr int kIntervalEdit = 1048;
inline constexpr int kInfoLine = 1047;
inline constexpr int kOptionPicture = 1040;
inline constexpr int kOkButton = 1009;
inline constexpr int kCancelButton = 1012;
inline constexpr int kHelpButton = 1056;

// The option picture for each combination of the three options, indexed as
// the main window indexes its Feeds list's icons: DownloadReferringArticles +
// 2 × DownloadOnlyNewArticles + 4 × AutoCheck, each flag counting 1 when set.
inline constexpr std::array<int, 8> kOptionIcons = {129, 128, 189, 186, 190, 187, 191, 188};

}  // namespace tavi::res::feed_properties
