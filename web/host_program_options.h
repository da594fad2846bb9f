#pragma once

// tavi-host's command line:
//   tavi-host [--data DIR] [--port N] [--plugin PATH]
//   tavi-host --demo [--port N] [--plugin PATH]
// --data names the data folder (else the tavi command's rule, see
// host/data_folder.h); --port the port of 127.0.0.1 to serve the page on
// (else a free one); --plugin the plug-in module to load (else tavi.so
// beside the program, then in the build's layout); --demo runs on a
// temporary data folder with the sample feeds subscribed and downloaded.

#include <optional>
#include <string>
#include <vector>

namespace tavi::web {

struct HostProgramOptions {
  std::optional<std::string> data_folder;
  int port = 0;  // 0: a free port
  std::optional<std::string> plugin;
  bool demo = false;
};

struct HostProgramArguments {
  // nullopt when the program is to end at once: print `message` and exit
  // with `exit_code` (0 after --help, 2 after a usage error).
  std::optional<HostProgramOptions> options;
  std::string message;
  int exit_code = 0;
};

// Reads the arguments after the program's name.
HostProgramArguments ParseHostProgramArguments(const std::vector<std::string>& arguments);

}  // namespace tavi::web
