#include "plugin/special_menu.h"

#include "delivery/host_automation.h"
#include "plugin/host_blocks.h"
#include "plugin/host_windows.h"
#include "plugin/plugin_tables.h"
#include "store/feed_definitions.h"
#include "ui/information_dialog.h"

namespace tavi {
namespace {

bool IsFullApi(std::int16_t api_version) { return api_version >= kFirstFullApiVersion; }

void FindHostWindows(PluginPaths& paths) {
  paths.HostMainWindow = FindHostMainWindow();
  paths.MdiClient = FindHostDocumentArea(paths.HostMainWindow);
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

std::int32_t RunMenuHook(PluginPaths& paths) {
  FindHostWindows(paths);
  // Cleared on every way out, a failure included: left set, it would keep
  // the background checker idle for the rest of the host's life.
  struct MainWindowOpenFlag {
    explicit MainWindowOpenFlag(std::atomic<bool>& flag) : flag(flag) { flag = true; }
    ~MainWindowOpenFlag() { flag = false; }
    std::atomic<bool>& flag;
  } open(paths.MainWindowOpen);
  return StartMenuHook(paths).result;
}

bool CacheHoldsDocuments(const std::string& data_folder) {
  return !ListCacheFiles(CacheFolder(data_folder)).empty();
}

}  // namespace tavi
