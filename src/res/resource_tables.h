#pragma once

// What each window's files define, for resources.cpp to serve by id. Nothing
// outside this folder includes this header: the rest of the program asks by
// id (res/resources.h) and names ids through the windows' *_ids.h headers.
// Each window's icons are in the file named for it with "_icons".

#include <span>

#include "platform/window_templates.h"

namespace tavi::res {

namespace main_window {
const platform::DialogTemplate& Template();
const platform::AcceleratorTable& Accelerators();
std::span<const platform::IconImage> Icons();
}  // namespace main_window

namespace about_box {
const platform::DialogTemplate& Template();
}  // namespace about_box

namespace feed_properties {
const platform::DialogTemplate& Template();
std::span<const platform::IconImage> Icons();
}  // namespace feed_properties

namespace information_dialog {
const platform::DialogTemplate& Template();
std::span<const platform::IconImage> Icons();
}  // namespace information_dialog

namespace mailboxes_dialog {
const platform::DialogTemplate& Template();
std::span<const platform::IconImage> Icons();
}  // namespace mailboxes_dialog

namespace new_mailbox_dialog {
const platform::DialogTemplate& Template();
}  // namespace new_mailbox_dialog

namespace news_board {
const platform::DialogTemplate& Template();
const platform::ToolbarTemplate& Toolbar();
std::span<const platform::IconImage> Icons();
}  // namespace news_board

namespace article_viewer {
const platform::DialogTemplate& Template();
const platform::MenuTemplate& MenuBar();
const platform::ToolbarTemplate& Toolbar();
std::span<const platform::IconImage> Icons();
}  // namespace article_viewer

namespace popup_menu {
const platform::MenuTemplate& Menu();
}  // namespace popup_menu

// The icons that stand for Tavi itself (product_icon_ids.h).
std::span<const platform::IconImage> ProductIcons();

}  // namespace tavi::res
