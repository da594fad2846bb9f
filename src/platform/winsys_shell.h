#pragma once

// The shell: "open" a document or address with the program that handles it
// (the default browser for a web address, the help viewer for a help file),
// and run a command line. Both go to the handler a front end installs;
// without one they succeed and do nothing. Every request is recorded
// (ShownShellRequests).

#include <functional>
#include <string>
#include <vector>

#include "platform/winsys.h"

namespace tavi::platform {

struct ShellRequest {
  enum class Kind { kOpen, kRun };
  Kind kind = Kind::kOpen;
  WindowHandle owner;      // kOpen only
  std::string verb;        // kOpen: "open"
  std::string target;      // kOpen: the document or address; kRun: the command line
  std::string parameters;  // kOpen only
  int show = SW_SHOWNORMAL;
};

// Carries a request out; false when it failed.
using ShellHandler = std::function<bool(const ShellRequest& request)>;

// Installs the handler, process-wide (an empty function: none).
void SetShellHandler(ShellHandler handler);

// Opens `target` with `verb`. Returns a value above 32 on success and
// kShellFileNotFound when the handler failed, as the system's shell does.
int ShellExecute(WindowHandle owner, const std::string& verb, const std::string& target,
                 const std::string& parameters, int show);

// Runs `command_line`. Returns a value above 31 on success and
// kShellFileNotFound when the handler failed.
int WinExec(const std::string& command_line, int show);

// The system's "file not found" result of both.
inline constexpr int kShellFileNotFound = 2;

// Every request since the start or the last ClearShownShellRequests,
// oldest first.
std::vector<ShellRequest> ShownShellRequests();
void ClearShownShellRequests();

}  // namespace tavi::platform
