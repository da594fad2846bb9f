#pragma once

// The News Board's resources by name: dialog 114 and its controls, the
// toolbar it creates at run time, the commands of its toolbar and of its
// "NewsBoard" popup menu, and its icons. The template and the toolbar are in
// news_board.cpp.

#include <array>
#include <string_view>

namespace tavi::res::news_board {

inline constexpr int kDialog = 114;
inline constexpr std::string_view kWindowClass = "NewsBoardWindow";
inline constexpr int kToolbarResource = 293;

// Controls. The toolbar is not in the template: the board creates it at the
// top of its client area and moves the other controls down by its height.
inline constexpr int kToolbar = 59392;
inline constexpr int kHeadlineList = 1059;
inline constexpr int kSplitterBar = 1080;
inline constexpr int kPreview = 1081;

// The splitter bar's thickness in pixels, which dialog units cannot state
// exactly: the board sets it when it places the bar.
inline constexpr int kSplitterBarHeight = 4;

// Commands of the popup menu.
inline constexpr int kOpenCommand = 32813;
inline constexpr int kBrowseCommand = 32814;
inline constexpr int kRemoveCommand = 32815;
inline constexpr int kOpenNewsboxCommand = 32821;
inline constexpr int kSelectAllCommand = 32776;

// Commands of the toolbar.
inline constexpr int kOpenButton = 32817;
inline constexpr int kBrowseButton = 32818;
inline constexpr int kRemoveButton = 32819;
inline constexpr int kOpenNewsboxButton = 32820;
inline constexpr int kAboutButton = 32824;

// Icons: the window's own, the headline rows' (in image-list order) and the
// toolbar's (its About button shows kProductIcon).
inline constexpr int kWindowIcon = 122;
inline constexpr int kUnopenedRowIcon = 291;
inline constexpr int kOpenedRowIcon = 290;
inline constexpr std::array<int, 2> kRowIcons = {kUnopenedRowIcon, kOpenedRowIcon};
inline constexpr int kOpenIcon = 295;
inline constexpr int kBrowseIcon = 296;
inline constexpr int kRemoveIcon = 297;
inline constexpr int kOpenNewsboxIcon = 298;

}  // namespace tavi::res::news_board
