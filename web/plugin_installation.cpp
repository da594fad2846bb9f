#include "web/plugin_installation.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/fs.h"

namespace tavi::web {

namespace {

// Copies `name` from `from` into `to` unless it holds the same bytes.
bool CopyChangedFile(const std::string& name, const std::string& from, const std::string& to) {
  const std::optional<std::string> bytes = platform::ReadFileBytes(platform::JoinPath(from, name));
  if (!bytes) return false;
  const std::string target = platform::JoinPath(to, name);
  return platform::ReadFileBytes(target) == bytes || platform::ReplaceFile(target, *bytes);
}

}  // namespace

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

std::string HelpFolderOf(const std::string& module) {
  const std::filesystem::path path(module);
  return (path.parent_path() / (path.stem().string() + "-help")).string();
}

std::string InstallPluginHelp(const std::string& module, const std::string& plugins_folder) {
  const std::string shipped = HelpFolderOf(module);
  const std::vector<std::string> pages = platform::FindFiles(platform::JoinPath(shipped, "*.htm"));
  if (pages.empty()) return "";
  const std::string installed =
      platform::JoinPath(plugins_folder, std::filesystem::path(shipped).filename().string());
  std::error_code error;
  std::filesystem::create_directories(installed, error);
  if (error) return "";
  for (const std::string& page : pages)
    if (!CopyChangedFile(page, shipped, installed)) return "";
  return installed;
}

}  // namespace tavi::web
