#pragma once

// tavi-host's life, start to end:
//  1. Ctrl+C and SIGTERM become a request to stop (StopSignals).
//  2. With --demo, a temporary data folder is set up (DemoSetup).
//  3. The data folder (created when missing, with its "plugins" folder) is
//     locked; the wait, when another program holds it, is announced.
//  4. The stand-in host starts on it.
//  5. The plug-in module is installed into the plugins folder and loaded
//     from there through the plug-in loader (version, init, menu items,
//     translators), with the plugins folder as its configuration folder.
//  6. The page is served on 127.0.0.1 and its address printed, one line.
//     The page is the window system's front end from then on: it draws the
//     plug-in's windows and answers their message boxes and popup menus,
//     and the shell opens web addresses in the person's browser.
//  7. The host's user-interface thread (this one) runs its message loop
//     until the request to stop.
//  8. Everything ends in order: no more page work, the server stopped, the
//     plug-in finished and unloaded, the host stopped (its store written),
//     the lock let go, the demo's folder removed.

#include <ostream>
#include <string>

#include "web/host_program_options.h"

namespace tavi::web {

// The files tavi-host runs with; "" when not found.
struct ProgramFiles {
  std::string plugin;        // the plug-in module
  std::string tavi_command;  // the tavi command, for --demo
};

// Runs tavi-host until it is asked to stop, printing the address to open on
// `out` and why it cannot start, or must wait, on `err`. Returns 0 after a
// clean stop, 1 when it cannot start.
int RunHostProgram(const HostProgramOptions& options, const ProgramFiles& files, std::ostream& out,
                   std::ostream& err);

}  // namespace tavi::web
