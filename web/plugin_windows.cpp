#include "web/plugin_windows.h"

#include "host/host_windows.h"
#include "platform/ascii.h"
#include "platform/winsys.h"
#include "platform/winsys_focus.h"
#include "web/ui_thread_work.h"

namespace tavi::web {
namespace {

constexpr std::string_view kHostWindowClasses[] = {
    host::kMainWindowClass,    host::kDocumentAreaClass, host::kMailboxWindowClass,
    host::kMessageWindowClass, host::kStatusBarClass,    kWorkWindowClass,
};

}  // namespace

bool IsHostWindowClass(std::string_view class_name) {
  for (const std::string_view host_class : kHostWindowClasses)
    if (platform::EqualsIgnoringCase(class_name, host_class)) return true;
  return false;
}

bool IsPluginWindow(platform::WindowHandle window) {
  if (!platform::IsWindow(window)) return false;
  return !IsHostWindowClass(platform::GetClassName(window)) &&
         !IsHostWindowClass(platform::GetClassName(platform::GetTopLevelWindow(window)));
}

}  // namespace tavi::web
