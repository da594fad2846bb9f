#pragma once

// The main window's resources by name: dialog 101 and its controls, the
// commands of its accelerators and of its "newsbox" popup menu, and the icons
// of its two lists. The template itself is in main_window.cpp.

#include <array>
#include <string_view>

#include "res/product_icon_ids.h"

namespace tavi::res::main_window {

inline constexpr int kDialog = 101;
inline constexpr std::string_view kWindowClass = "TaviAggregatorMainWindow";
inline constexpr int kAccelerators = 228;

// Controls.
inline constexpr int kNewsboxesLabel = 1023;
inline constexpr int kNewsboxesList = 1020;
inline constexpr int kFeedsGroup = 1026;
inline constexpr int kFeedsList = 1001;
inline constexpr int kDecorationPicture = 1054;
inline constexpr int kInfoLine = 1049;
inline constexpr int kAddButton = 1003;
inline constexpr int kEditButton = 1004;
inline constexpr int kDeleteButton = 1007;
inline constexpr int kActivityPicture = 1045;
inline constexpr int kDownloadButton = 1011;
inline constexpr int kDownloadProgress = 1017;
inline constexpr int kStopButton = 1065;
inline constexpr int kNewsboardButton = 1067;
inline constexpr int kDetailsLine = 1030;
inline constexpr int kGeneralLine = 1028;
inline constexpr int kHelpButton = 1066;
inline constexpr int kCloseButton = 1014;

// Commands: F1 and Shift+F1, and the "newsbox" popup menu's entries.
inline constexpr int kHelpCommand = 32810;
inline constexpr int kAboutCommand = 32822;
inline constexpr int kOpenNewsboxCommand = 32771;
inline constexpr int kCloseNewsboxCommand = 32772;

// The Feeds list's row icons, indexed by DownloadReferringArticles + 2 ×
// DownloadOnlyNewArticles + 4 × AutoCheck, each flag counting 1 when set.
inline constexpr std::array<int, 8> kFeedRowIcons = {123, 120, 168, 167, 179, 180, 181, 182};

// The Newsboxes list's row icons, in image-list order.
inline constexpr int kEmptyNewsboxIcon = 1015;  // no messages
inline constexpr int kReadNewsboxIcon = 1018;   // messages, none unread
inline constexpr int kUnreadNewsboxIcon = 131;  // unread messages
inline constexpr std::array<int, 3> kNewsboxRowIcons = {kEmptyNewsboxIcon, kReadNewsboxIcon,
                                                        kUnreadNewsboxIcon};

// The activity picture at rest (an animated cursor stands in for it while a
// download runs), and the decoration beside the info line.
inline constexpr int kActivityIcon = kProductIcon;
inline constexpr int kDecorationIcon = 1054;

}  // namespace tavi::res::main_window
