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

#include "cli/command_context.h"
#include "host/data_folder.h"
#include "host/data_folder_lock.h"
#include "host/host.h"
#include "plugin/plugin_paths.h"
#include "store/pacing.h"

namespace tavi::cli {

// What a command does with the data folder.
enum class SessionUse {
  kCreate,  // init: makes the folder when missing, and changes it
  kChange,  // changes the folder: holds its lock while the session lives
  kRead,    // only reads it: no lock, and a host that writes nothing
};

struct SessionOptions {
  SessionUse use = SessionUse::kRead;
  // When another process holds the data folder's lock: wait for it, or
  // refuse at once.
  host::LockWaiting waiting = host::LockWaiting::kWait;
  // What this process runs, for whoever finds the lock taken: "tavi add".
  std::string description;
};

class Session {
 public:
  // Opens `data_folder`. With kCreate, the folder (with its parents) and
  // its "plugins" folder are made when missing; otherwise both must exist
  // already. A session that changes the folder takes its lock first (saying
  // on `err` whom it waits for), then removes what killed runs left behind
  // (part files of downloads, temporary files of replaced mailboxes and
  // settings). Then the host starts on the folder (making In, Out and Trash
  // unless it only reads). nullptr, with the reason written to `err`, when
  // that fails or the lock is taken and the options say not to wait. While
  // the session lives, message boxes are written to `err` as "caption:
  // text" and the pacing has no waits; both are restored when it ends.
  static std::unique_ptr<Session> Open(const std::string& data_folder,
                                       const SessionOptions& options, std::ostream& err);
  // Stops the host, which writes what is still pending, then lets the lock
  // go.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const PluginPaths& Paths() const { return paths_; }
  host::Host& Host() { return *host_; }

 private:
  Session() = default;

  PluginPaths paths_;
  host::DataFolderLock lock_;
  std::unique_ptr<host::Host> host_;
  Pacing saved_pacing_;
};

// Opens the session a command needs: its data folder, its name for the
// lock, --no-wait.
std::unique_ptr<Session> OpenSession(const CommandContext& context, SessionUse use);

}  // namespace tavi::cli
