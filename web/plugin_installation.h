#pragma once

// The host keeps its plug-ins in its plug-ins folder, and a plug-in finds
// its own module file there (Tavi reads its product name and version from
// it). tavi-host installs the module it was given into that folder before
// loading it from there, as an installer would.

#include <string>

namespace tavi::web {

// Copies `module` into `plugins_folder` under its own file name, unless the
// same bytes are there already; the copy replaces an older one whole (a
// temporary file renamed over it). Returns the path of the module in the
// folder, or "" with the reason in `error` when `module` cannot be read or
// the copy cannot be written.
std::string InstallPluginModule(const std::string& module, const std::string& plugins_folder,
                                std::string& error);

// The help folder a module ships beside itself: its file name's stem and
// "-help" ("tavi-help" beside "tavi.so").
std::string HelpFolderOf(const std::string& module);

// Copies the pages ("*.htm") of the module's help folder into the help
// folder of the same name in `plugins_folder`, each unless the same bytes
// are there already. Returns the installed help folder; "" when the module
// ships no help or a page cannot be copied (the host then shows no help).
std::string InstallPluginHelp(const std::string& module, const std::string& plugins_folder);

}  // namespace tavi::web
