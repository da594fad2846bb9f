#include "web/child_program.h"

#include <gtest/gtest.h>
#include <signal.h>

namespace tavi::web {
namespace {

TEST(RunChildProgram, GivesTheExitCodeOrMinusOne) {
  EXPECT_EQ(RunChildProgram("/bin/sh", {"-c", "exit 0"}), 0);
  EXPECT_EQ(RunChildProgram("/bin/sh", {"-c", "exit 3"}), 3);
  EXPECT_EQ(RunChildProgram("/no/such/program", {}), -1);
  EXPECT_EQ(RunChildProgram("/bin/sh", {"-c", "kill -KILL $$"}), -1);
}

// tavi-host blocks its stop signals; a program it runs must still stop at
// Ctrl+C like any other.
TEST(RunChildProgram, TheProgramRunsWithNoSignalBlocked) {
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGTERM);
  sigset_t former;
  pthread_sigmask(SIG_BLOCK, &stop_signals, &former);
  const int code = RunChildProgram("/bin/sh", {"-c", "kill -TERM $$; exit 0"});
  pthread_sigmask(SIG_SETMASK, &former, nullptr);
  EXPECT_EQ(code, -1);
}

}  // namespace
}  // namespace tavi::web
