#pragma once

// One run of the command over a data folder: the folder is the host's mail
// data folder, and its "plugins" folder is Tavi's configuration folder
// (tavi.ini, feed.xml). The session starts the stand-in host in-process on
// the calling thread, which then runs everything (host, engine, windows),
// as the host's user-interface thread does. Host waits are off: the
// stand-in host indexes synchronously.

#include <iosfwd>
#include <memory>
#include <string>

#include "host/host.h"
#include "plugin/plugin_paths.h"
#include "store/pacing.h"

namespace tavi::cli {

// The name of the configuration folder inside the data folder.
inline constexpr const char* kPluginsFolderName = "plugins";

// The data folder when --data is not given: $TAVI_DATA when set and not
// empty, else $XDG_DATA_HOME/tavi when that is an absolute path, else
// $HOME/.local/share/tavi; "" when none of them can be found.
std::string DefaultDataFolder();

class Session {
 public:
  // Opens `data_folder`. With `create`, the folder (with its parents) and
  // its "plugins" folder are made when missing; without, both must exist
  // already. Then the host starts on the folder (making In, Out and Trash).
  // nullptr, with the reason written to `err`, when that fails. While the
  // session lives, message boxes are written to `err` as "caption: text" and
  // the pacing has no waits; both are restored when it ends.
  static std::unique_ptr<Session> Open(const std::string& data_folder, bool create,
                                       std::ostream& err);
  // Stops the host, which writes what is still pending.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const PluginPaths& Paths() const { return paths_; }
  host::Host& Host() { return *host_; }

 private:
  Session() = default;

  PluginPaths paths_;
  std::unique_ptr<host::Host> host_;
  Pacing saved_pacing_;
};

}  // namespace tavi::cli
