#include "plugin/special_menu.h"

#include <thread>

#include "delivery/host_automation.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "plugin/host_blocks.h"
#include "plugin/host_windows.h"
#include "plugin/plugin_tables.h"
#include "plugin/plugin_window_context.h"
#include "store/feed_definitions.h"
#include "ui/information_dialog.h"

namespace tavi {
namespace {

bool IsFullApi(std::int16_t api_version) { return api_version >= kFirstFullApiVersion; }

void FindHostWindows(PluginPaths& paths) {
  paths.HostMainWindow = FindHostMainWindow();
  paths.MdiClient = FindHostDocumentArea(paths.HostMainWindow);
}

// Tavi's windows belong to the host's main window, or to whatever window is
// active when the host shows none.
platform::WindowHandle WindowsOwner(const PluginPaths& paths) {
  if (paths.HostMainWindow) return paths.HostMainWindow;
  return platform::GetForegroundWindow();
}

// The loop of a modeless window that the caller waits for: handles the
// thread's messages, the window's keys as a dialog's, until the window has
// hidden itself. A WM_QUIT ends it too and is left for the host's loop.
void RunWhileShown(platform::WindowHandle window) {
  platform::Message message;
  while (platform::IsWindowVisible(window)) {
    if (!platform::GetMessage(message)) {
      platform::PostQuitMessage(static_cast<int>(message.wparam));
      return;
    }
    if (!platform::TranslateDialogInput(message)) platform::DispatchMessage(message);
  }
}

}  // namespace

MenuHookStart StartMenuHook(const PluginPaths& paths) {
  if (!IsFullApi(paths.ApiVersion)) return {kEmsRefused, MainWindowMode::kNone};
  std::string error_text;
  if (!ShowReadyStatus(error_text)) {
    InformationInputs inputs;
    inputs.mode = InformationMode::kAutomationError;
    inputs.error_text = error_text;
    InformationDialog(inputs, paths.ProductName).RunModal(paths.HostMainWindow);
    return {kEmsRefused, MainWindowMode::kNone};
  }
  if (CacheHoldsDocuments(paths.DataFolder)) return {kEmsOk, MainWindowMode::kImportCache};
  return {kEmsOk, MainWindowMode::kInteractive};
}

std::int32_t FillSpecialMenu(const PluginPaths& paths, EmsMenu* menu) {
  if (menu == nullptr) return kEmsUnknownFailure;
  if (menu->id != kSpecialMenu.id) return kEmsInvalidId;
  menu->description = NewHostText(kSpecialMenu.text);
  if (IsFullApi(paths.ApiVersion)) {
    menu->flags = kSpecialMenu.flags;
    menu->icon = NewIconCell(kSpecialMenu.icon);
  }
  return kEmsOk;
}

std::int32_t RunMenuHook(PluginPaths& paths, const EditFeedFunction& edit_feed) {
  // Set means an earlier use has not returned yet: its run pumps the
  // host's messages, and a second main window would run a second check on
  // the same staging mailbox.
  if (paths.MainWindowOpen.exchange(true)) return kEmsOk;
  // Cleared on every way out, a failure included: left set, it would keep
  // the background checker idle for the rest of the host's life.
  struct MainWindowOpenFlag {
    ~MainWindowOpenFlag() { flag = false; }
    std::atomic<bool>& flag;
  } open{paths.MainWindowOpen};
  FindHostWindows(paths);
  const MenuHookStart start = StartMenuHook(paths);
  if (start.mode == MainWindowMode::kNone) return start.result;
  const WindowContext context = WindowContextOf(paths);
  const platform::WindowHandle owner = WindowsOwner(paths);
  if (start.mode == MainWindowMode::kImportCache)
    ImportCacheInWindow(context, owner, paths.NewsBoardWindow);
  MainWindow window(context, MainWindow::Mode::kInteractive, paths.NewsBoardWindow, edit_feed);
  window.RunModal(owner);
  if (window.Summary().LastResult() != kNotCheckedYet)
    ShowRunReport(owner, window.Summary(), paths.ProductName);
  return kEmsOk;
}

RunSummary ImportCacheInWindow(const WindowContext& context, platform::WindowHandle owner,
                               platform::WindowHandle& news_board) {
  MainWindow window(context, MainWindow::Mode::kCacheImport, news_board, {});
  const platform::WindowHandle handle = window.Create(owner);
  if (!handle) return {};
  platform::ShowWindow(handle, platform::SW_SHOW);
  // The import starts from the window's own queue, once the window has
  // been shown and drawn.
  std::thread poster([handle] { platform::PostMessage(handle, kImportCacheMessage, 0, 0); });
  RunWhileShown(handle);
  poster.join();
  return window.Summary();
}

bool CacheHoldsDocuments(const std::string& data_folder) {
  return !ListCacheFiles(CacheFolder(data_folder)).empty();
}

}  // namespace tavi
