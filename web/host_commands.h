#pragma once

// The host's commands that hand over to the plug-in: an item of the
// Special menu, and the plug-in's settings. The page asks for one on a
// server thread; it runs later on the user-interface thread, because the
// plug-in may keep it there for as long as a window of its own is open (a
// modal loop), and the page's request does not wait for that. One command
// at a time, as in the host, whose menus wait while a plug-in's window is
// up: a command asked for while another runs is refused.
//
// Used on the user-interface thread.

#include <functional>
#include <string>

#include "host/plugin_loader.h"

namespace tavi::web {

enum class CommandStart {
  kStarted,     // it runs next on the user-interface thread
  kBusy,        // another command runs; nothing was started
  kNoSuchItem,  // the plug-in has no such menu item
};

class HostCommands {
 public:
  // Runs `work` on the user-interface thread after what waits there now.
  using Later = std::function<void(std::function<void()> work)>;

  // `plugin` must outlive the commands. `changed` is called when a command
  // starts and when it ends.
  HostCommands(host::PluginModule& plugin, Later later, std::function<void()> changed);

  // The Special-menu item `id` (ems_special_hook), when the plug-in
  // described one with that id.
  CommandStart ChooseMenuItem(int id);
  // The plug-in's settings (ems_plugin_config).
  CommandStart OpenSettings();

  // The running command as the page names it (the menu item's text, or
  // "Settings"); "" when none runs.
  const std::string& Running() const { return running_; }

 private:
  CommandStart Start(std::string name, std::function<void()> command);

  host::PluginModule& plugin_;
  Later later_;
  std::function<void()> changed_;
  std::string running_;
};

}  // namespace tavi::web
