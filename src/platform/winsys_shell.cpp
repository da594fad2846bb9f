#include "platform/winsys_shell.h"

#include "platform/winsys_request_log.h"

namespace tavi::platform {
namespace {

// What the system's shell returns on success: any value above 32 for an
// open (a module handle), above 31 for a command line.
constexpr int kOpened = 42;
constexpr int kStarted = 33;

winsys_internal::RequestLog<ShellRequest, ShellHandler>& TheLog() {
  static auto* const log = new winsys_internal::RequestLog<ShellRequest, ShellHandler>;
  return *log;
}

int Carry(const ShellRequest& request, int success) {
  const ShellHandler handler = TheLog().Record(request);
  if (!handler || handler(request)) return success;
  return kShellFileNotFound;
}

}  // namespace

void SetShellHandler(ShellHandler handler) { TheLog().SetHandler(std::move(handler)); }

int ShellExecute(WindowHandle owner, const std::string& verb, const std::string& target,
                 const std::string& parameters, int show) {
  return Carry({ShellRequest::Kind::kOpen, owner, verb, target, parameters, show}, kOpened);
}

int WinExec(const std::string& command_line, int show) {
  return Carry({ShellRequest::Kind::kRun, {}, "", command_line, "", show}, kStarted);
}

std::vector<ShellRequest> ShownShellRequests() { return TheLog().Shown(); }

void ClearShownShellRequests() { TheLog().Clear(); }

}  // namespace tavi::platform
