#include "web/plugin_installation.h"

#include <filesystem>
#include <optional>

#include "platform/fs.h"

namespace tavi::web {

std::string InstallPluginModule(const std::string& module, const std::string& plugins_folder,
                                std::string& error) {
  const std::optional<std::string> bytes = platform::ReadFileBytes(module);
  if (!bytes) {
    error = "cannot read the plug-in " + module;
    return "";
  }
  const std::string installed =
      platform::JoinPath(plugins_folder, std::filesystem::path(module).filename().string());
  if (platform::ReadFileBytes(installed) == bytes) return installed;
  if (!platform::ReplaceFile(installed, *bytes)) {
    error = "cannot install the plug-in into " + plugins_folder;
    return "";
  }
  return installed;
}

}  // namespace tavi::web
