#pragma once

// What each window's files define, for resources.cpp to serve by id. Nothing
// outside this folder includes this header: the rest of the program asks by
// id (res/resources.h) and names ids through the windows' *_ids.h headers.

#include "platform/window_templates.h"

namespace tavi::res {

namespace main_window {
const platform::DialogTemplate& Template();
const platform::AcceleratorTable& Accelerators();
}  // namespace main_window

namespace about_box {
const platform::DialogTemplate& Template();
}  // namespace about_box

namespace feed_properties {
const platform::DialogTemplate& Template();
}  // namespace feed_properties

namespace information_dialog {
const platform::DialogTemplate& Template();
}  // namespace information_dialog

namespace mailboxes_dialog {
const platform::DialogTemplate& Template();
}  // namespace mailboxes_dialog

namespace new_mailbox_dialog {
const platform::DialogTemplate& Template();
}  // namespace new_mailbox_dialog

namespace news_board {
const platform::DialogTemplate& Template();
const platform::ToolbarTemplate& Toolbar();
}  // namespace news_board

namespace article_viewer {
const platform::DialogTemplate& Template();
const platform::MenuTemplate& MenuBar();
const platform::ToolbarTemplate& Toolbar();
}  // namespace article_viewer

namespace popup_menu {
const platform::MenuTemplate& Menu();
}  // namespace popup_menu

}  // namespace tavi::res
