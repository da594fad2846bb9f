#pragma once

// The registered window messages through which Tavi's windows talk to each
// other. Every window that registers the same name gets the same number.

#include "platform/winsys.h"

namespace tavi {

// Sent to the News Board (wParam 1, lParam 1) when the host shuts the
// plug-in down.
inline constexpr const char* kExitHostMessageName = "uiIzlazEudora";
// Sent to the News Board (wParam 1, lParam 0): show yourself; it answers 1.
inline constexpr const char* kDisplayWindowMessageName = "uiDisplayWindow";
// Sent to the News Board for each delivered article; lParam points to the
// article's notice.
inline constexpr const char* kNewArticleMessageName = "uiNewArticle";
// Sent to the News Board: rebuild the headline report.
inline constexpr const char* kUpdateBlogReportMessageName = "uiUpdateBlogReport";
// To the main window, wParam 1: show the product name as the caption.
inline constexpr const char* kUpdateGuiMessageName = "uiUpdateGUI";

struct WindowMessages {
  platform::MessageId exit_host = 0;
  platform::MessageId display_window = 0;
  platform::MessageId new_article = 0;
  platform::MessageId update_blog_report = 0;
  platform::MessageId update_gui = 0;
};

// The numbers of the messages above, registered on the first call (from any
// thread) and the same for the life of the process.
const WindowMessages& RegisteredWindowMessages();

}  // namespace tavi
