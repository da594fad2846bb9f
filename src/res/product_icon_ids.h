#pragma once

// The icons that stand for Tavi itself rather than for one window: the ones
// handed to the host for the plug-in and its translator, and the emblem that
// the windows show at rest and on their About buttons.

namespace tavi::res {

// The plug-in and its Special-menu item "Tavi...".
inline constexpr int kPluginIcon = 1000;
// The message translator "Get the Full Article".
inline constexpr int kTranslatorIcon = 132;
// The emblem: the main window's activity picture at rest, and the About
// buttons of the News Board's and the article viewer's toolbars.
inline constexpr int kProductIcon = 1002;

}  // namespace tavi::res
