#include "web/child_program.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>

#include "web/stop_signals.h"

extern char** environ;

namespace tavi::web {
namespace {

constexpr int kNotRun = -1;

int WaitForExit(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return kNotRun;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : kNotRun;
}

}  // namespace

int RunChildProgram(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  const sigset_t unblocked = UnblockedSignals();
  posix_spawnattr_setsigmask(&attributes, &unblocked);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t child = 0;
  const int error =
      posix_spawn(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (error != 0) return kNotRun;
  return WaitForExit(child);
}

}  // namespace tavi::web
