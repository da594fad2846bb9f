#pragma once

// PluginPaths: the one process-wide record of the plug-in's paths, version
// texts, host window handles and flags. The host's start call fills it; after
// that it is read everywhere and written only where a field says so.

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/background_checker.h"
#include "engine/check_engine.h"
#include "platform/module_version.h"
#include "platform/winsys.h"

namespace tavi {

// File names in the configuration folder and the data folder.
inline constexpr const char* kSettingsFileName = "tavi.ini";
inline constexpr const char* kFeedFileName = "feed.xml";
inline constexpr const char* kModuleFileName = "tavi.so";
inline constexpr const char* kTidyModuleName = "TidyCOM.so";
// The help: a folder of HTML pages, one per topic.
inline constexpr const char* kHelpFileName = "tavi-help";
inline constexpr const char* kHostSettingsFileName = "deudora.ini";
inline constexpr const char* kInMailboxFileName = "In.mbx";
inline constexpr const char* kOutMailboxFileName = "Out.mbx";

// Keys of the module's version block.
inline constexpr const char* kProductNameKey = "ProductName";
inline constexpr const char* kProductVersionKey = "ProductVersion";

struct PluginPaths {
  std::string ConfigDir;       // as the host passed it
  std::string SettingsFile;    // ConfigDir/tavi.ini
  std::string FeedFile;        // ConfigDir/feed.xml, the temporary feed document
  std::string ModuleFile;      // ConfigDir/tavi.so, whose version block is read
  std::string DataFolder;      // the host's mail data folder
  std::string InMailboxFile;   // DataFolder/In.mbx
  std::string OutMailboxFile;  // DataFolder/Out.mbx
  std::string TidyModule;      // the HTML clean-up component beside the module
  std::string HelpFile;        // the help pages' folder beside the module
  std::string ProductName;     // from the version block; "" when unreadable
  std::string VersionText;     // "major.minor"; "" when unreadable
  std::string Description;     // ProductName + " " + VersionText
  std::int16_t ApiVersion = 0;
  bool TidyRegistered = false;
  platform::WindowHandle DesktopWindow;
  platform::WindowHandle HostMainWindow;   // found again at each menu use
  platform::WindowHandle MdiClient;        // the host's document area
  platform::WindowHandle NewsBoardWindow;  // set once the News Board exists
  // Shared with the background checker, which reads them without a lock.
  std::atomic<bool> CheckerRunning{false};
  std::atomic<bool> MainWindowOpen{false};
  // Started at the host's start, stopped at its finish; null otherwise.
  std::unique_ptr<BackgroundChecker> CheckerThread;
};

// The process-wide record.
PluginPaths& GlobalPluginPaths();

// What a check run needs of the record.
CheckPaths CheckPathsOf(const PluginPaths& paths);

// Fills every path of `paths` from the configuration folder and the full
// path of the host's program ("-1" or "" when unknown): the settings, feed,
// module, clean-up component and help files beside each other in `config_dir`,
// the data folder (FindDataFolder) and the In and Out mailbox files in it.
// Letter case is kept throughout, as the files are opened by these names.
void ResolvePaths(PluginPaths& paths, const std::string& config_dir,
                  const std::string& host_executable);

// The host's settings file: the host program's own path with its file name
// replaced by deudora.ini; "" when the program's path is unknown ("-1", "").
std::string HostSettingsFile(const std::string& host_executable);

// The host's data folder: the DataFolder value of the host's settings file
// when that file exists and the value names a folder; otherwise the folder
// that holds the configuration folder, since the host keeps its "plugins"
// folder in its data folder. (Nothing is lower-cased: on this file system
// the letter case is part of the name.)
std::string FindDataFolder(const std::string& settings_file, const std::string& host_executable);

// The release notes shipped beside the settings file: its path with ".ini"
// replaced by ".txt".
std::string ReleaseNotesFile(const std::string& settings_file);

// Sets ProductName, VersionText and Description from a module's version
// block; without a block (or without an entry) the texts are empty and
// Description is a single blank.
void ApplyVersionBlock(PluginPaths& paths,
                       const std::optional<platform::ModuleVersionBlock>& block);

// "major.minor" from a version text "major, minor, patch, build" (blanks
// after the commas allowed, as in "0, 1, 0, 0" or "2,4,0,1"); "" unless at
// least the first two numbers can be read.
std::string FormatVersionText(const std::string& product_version);

}  // namespace tavi
