#include "plugin/plugin_lifecycle.h"

#include "files/file_names.h"
#include "platform/module_loader.h"
#include "platform/module_version.h"
#include "plugin/host_blocks.h"
#include "plugin/plugin_tables.h"
#include "ui/article_viewer.h"
#include "ui/news_board.h"

namespace tavi {
namespace {

// The component's registration entry, as the component system defines it:
// a negative result is a failure.
using RegisterServerFunction = std::int32_t (*)();

void FillCounts(EmsPluginInfo& info) {
  info.translator_count = kTranslatorCount;
  info.attacher_count = kAttacherCount;
  info.special_count = kSpecialMenuCount;
}

}  // namespace

std::int32_t InitPlugin(PluginPaths& paths, std::int16_t api_version, const EmsMailConfig* config,
                        EmsPluginInfo* info, const std::string& host_executable) {
  if (info == nullptr) return kEmsOk;
  if (config == nullptr || config->config_dir == nullptr) return kEmsUnknownFailure;
  FillCounts(*info);
  paths.ApiVersion = api_version;
  ResolvePaths(paths, config->config_dir, host_executable);
  ApplyVersionBlock(paths, platform::ReadModuleVersionBlock(paths.ModuleFile));
  info->description = NewHostText(paths.Description);
  paths.TidyRegistered = RegisterTidyModule(paths.TidyModule);
  info->id = kPluginId;
  info->icon = NewIconCell(kPluginIcon);
  paths.DesktopWindow = platform::GetDesktopWindow();
  paths.NewsBoardWindow = {};
  if (api_version >= kFirstFullApiVersion) StartChecker(paths);
  return kEmsOk;
}

void StartChecker(PluginPaths& paths) {
  if (paths.CheckerRunning) return;
  CheckerSetup setup{paths.SettingsFile, paths.DataFolder, CheckerPeriodFromEnvironment(), {}};
  paths.CheckerThread = std::make_unique<BackgroundChecker>(std::move(setup), paths.MainWindowOpen);
  paths.CheckerRunning = paths.CheckerThread->Start();
}

void StopChecker(PluginPaths& paths) {
  paths.CheckerRunning = false;
  if (paths.CheckerThread) paths.CheckerThread->Stop();
  paths.CheckerThread.reset();
}

bool RegisterTidyModule(const std::string& module_file) {
  if (!FileExists(module_file)) return false;
  const platform::ModuleHandle module = platform::LoadModule(module_file);
  if (module == nullptr) return false;
  const auto register_server =
      platform::FindModuleFunction<RegisterServerFunction>(module, kRegisterServerExport);
  if (register_server == nullptr) {
    platform::FreeModule(module);
    return false;
  }
  return register_server() >= 0;
}

std::int32_t FinishPlugin(PluginPaths& paths) {
  // The viewers' windows and their browsers' threads must not outlive the
  // module, which the host unloads next.
  CloseAllArticleViewers();
  StopChecker(paths);
  // The board saves its settings and goes while the module that answers
  // for its window is still loaded.
  CloseNewsBoard(paths.NewsBoardWindow);
  return kEmsOk;
}

}  // namespace tavi
