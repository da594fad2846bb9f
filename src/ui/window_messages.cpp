#include "ui/window_messages.h"

namespace tavi {
namespace {

WindowMessages RegisterAll() {
  WindowMessages messages;
  messages.exit_host = platform::RegisterWindowMessage(kExitHostMessageName);
  messages.display_window = platform::RegisterWindowMessage(kDisplayWindowMessageName);
  messages.new_article = platform::RegisterWindowMessage(kNewArticleMessageName);
  messages.update_blog_report = platform::RegisterWindowMessage(kUpdateBlogReportMessageName);
  messages.update_gui = platform::RegisterWindowMessage(kUpdateGuiMessageName);
  return messages;
}

}  // namespace

const WindowMessages& RegisteredWindowMessages() {
  static const WindowMessages messages = RegisterAll();
  return messages;
}

}  // namespace tavi
