#include "plugin/host_windows.h"

namespace tavi {
namespace {

constexpr const char* kHostMainWindowClass = "EudoraMainWindow";
constexpr const char* kHostDocumentAreaClass = "MDIClient";

}  // namespace

platform::WindowHandle FindHostMainWindow() { return platform::FindWindow(kHostMainWindowClass); }

platform::WindowHandle FindHostDocumentArea(platform::WindowHandle host_main_window) {
  return platform::FindChildWindow(host_main_window, kHostDocumentAreaClass, platform::kAnyText);
}

}  // namespace tavi
