#pragma once

// The plug-in's start and stop as the host drives them: filling PluginPaths
// and the host's information record at start, and telling the News Board
// that the host is going away at the end.

#include <cstdint>
#include <string>

#include "plugin/ems_api.h"
#include "plugin/plugin_paths.h"

namespace tavi {

// The export the HTML clean-up component registers itself through.
inline constexpr const char* kRegisterServerExport = "DllRegisterServer";

// The start sequence: fills the information record (counts, the description
// ProductName + " " + VersionText, the plug-in id and icon; the description
// and icon are new blocks for the host), stores the API version, resolves
// every path of `paths` from the configuration folder and `host_executable`
// (ResolvePaths), reads the module's version block, registers the HTML
// clean-up component when it is present, remembers the desktop window and
// forgets any News Board, and starts the background checker (StartChecker)
// when the host's API version is kFirstFullApiVersion or above. Returns
// kEmsOk; does nothing and returns kEmsOk without an information record.
// Without a configuration record or folder nothing can be resolved: returns
// kEmsUnknownFailure and fills nothing.
std::int32_t InitPlugin(PluginPaths& paths, std::int16_t api_version, const EmsMailConfig* config,
                        EmsPluginInfo* info, const std::string& host_executable);

// Loads the clean-up component at `module_file` and calls its registration
// export. True when that call returns a non-negative result; false when the
// file is absent, cannot be loaded or lacks the export. A loaded component
// stays loaded for the life of the process.
bool RegisterTidyModule(const std::string& module_file);

// Starts the background checker on the settings file and data folder of
// `paths`, ticking at CheckerPeriodFromEnvironment() and skipping its ticks
// while MainWindowOpen is set, unless CheckerRunning is set already. Sets
// CheckerRunning when the checker's thread runs.
void StartChecker(PluginPaths& paths);

// Stops the background checker when it runs, and returns once every thread
// it started has ended (the host unloads the module right after); clears
// CheckerRunning.
void StopChecker(PluginPaths& paths);

// The stop: closes every open article viewer (CloseAllArticleViewers, which
// saves each one's placement), stops the background checker (StopChecker);
// then, when the News
// Board exists, sends it "uiIzlazEudora" (wParam 1, lParam 1) and waits for
// it to be handled. Returns kEmsOk.
std::int32_t FinishPlugin(PluginPaths& paths);

}  // namespace tavi
