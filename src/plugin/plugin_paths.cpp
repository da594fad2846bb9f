#include "plugin/plugin_paths.h"

#include <charconv>
#include <string_view>

#include "files/file_names.h"
#include "platform/fs.h"
#include "store/profile.h"
#include "store/settings_layout.h"

namespace tavi {
namespace {

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == platform::kPathSeparator) path.pop_back();
  return path;
}

// The folder part of `path`: everything before its last separator ("/" for
// a path in the root, "" for a bare name).
std::string FolderOf(const std::string& path) {
  const std::string trimmed = WithoutTrailingSeparators(path);
  const std::size_t separator = trimmed.rfind(platform::kPathSeparator);
  if (separator == std::string::npos) return "";
  if (separator == 0) return std::string(1, platform::kPathSeparator);
  return WithoutTrailingSeparators(trimmed.substr(0, separator));
}

bool IsUnknownPath(const std::string& path) { return path.empty() || path == "-1"; }

// Reads one "%d" as the C library does: leading white space skipped, an
// optional sign, digits. False when no number is there or it does not fit.
bool ReadNumber(std::string_view& rest, int& number) {
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  if (!rest.empty() && rest.front() == '+') rest.remove_prefix(1);
  const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
  if (error != std::errc()) return false;
  rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
  return true;
}

}  // namespace

PluginPaths& GlobalPluginPaths() {
  static PluginPaths paths;
  return paths;
}

CheckPaths CheckPathsOf(const PluginPaths& paths) {
  CheckPaths check;
  check.settings_file = paths.SettingsFile;
  check.data_folder = paths.DataFolder;
  check.in_mailbox_file = paths.InMailboxFile;
  check.config_dir = paths.ConfigDir;
  check.mdi_client = paths.MdiClient;
  return check;
}

std::string HostSettingsFile(const std::string& host_executable) {
  if (IsUnknownPath(host_executable)) return "";
  return platform::JoinPath(FolderOf(host_executable), kHostSettingsFileName);
}

std::string FindDataFolder(const std::string& settings_file, const std::string& host_executable) {
  const std::string host_settings = HostSettingsFile(host_executable);
  if (!host_settings.empty() && FileExists(host_settings)) {
    const std::string folder = ReadProfileString(settings::kHostSettingsSection,
                                                 settings::kHostDataFolder, "", host_settings);
    if (IsDirectory(folder)) return folder;
  }
  return FolderOf(FolderOf(settings_file));
}

std::string ReleaseNotesFile(const std::string& settings_file) {
  constexpr std::string_view kSettingsExtension = ".ini";
  std::string notes = settings_file;
  if (notes.ends_with(kSettingsExtension)) notes.resize(notes.size() - kSettingsExtension.size());
  return notes + ".txt";
}

void ResolvePaths(PluginPaths& paths, const std::string& config_dir,
                  const std::string& host_executable) {
  paths.ConfigDir = config_dir;
  paths.SettingsFile = platform::JoinPath(config_dir, kSettingsFileName);
  paths.FeedFile = platform::JoinPath(config_dir, kFeedFileName);
  paths.ModuleFile = platform::JoinPath(config_dir, kModuleFileName);
  paths.DataFolder = FindDataFolder(paths.SettingsFile, host_executable);
  paths.InMailboxFile = platform::JoinPath(paths.DataFolder, kInMailboxFileName);
  paths.OutMailboxFile = platform::JoinPath(paths.DataFolder, kOutMailboxFileName);
  // Beside the module: its file name replaced, the folder left as it is.
  const std::string module_folder = FolderOf(paths.ModuleFile);
  paths.TidyModule = platform::JoinPath(module_folder, kTidyModuleName);
  paths.HelpFile = platform::JoinPath(module_folder, kHelpFileName);
}

std::string FormatVersionText(const std::string& product_version) {
  std::string_view rest = product_version;
  int major = 0;
  int minor = 0;
  if (!ReadNumber(rest, major) || rest.empty() || rest.front() != ',') return "";
  rest.remove_prefix(1);
  if (!ReadNumber(rest, minor)) return "";
  return std::to_string(major) + "." + std::to_string(minor);
}

void ApplyVersionBlock(PluginPaths& paths,
                       const std::optional<platform::ModuleVersionBlock>& block) {
  paths.ProductName.clear();
  paths.VersionText.clear();
  if (block) {
    paths.ProductName = block->Find(kProductNameKey).value_or("");
    paths.VersionText = FormatVersionText(block->Find(kProductVersionKey).value_or(""));
  }
  paths.Description = paths.ProductName + " " + paths.VersionText;
}

}  // namespace tavi
