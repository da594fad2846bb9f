#pragma once

// A program the test starts as a process of its own, to be watched, killed
// at a chosen moment, or waited for. Its standard output and error go to
// files the test can read. The moment is measured by the bytes the process
// has written so far (its write system calls, as the kernel counts them), so
// a kill lands at a point of the program's own progress, not of a clock.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tavi::testing {

struct ChildOptions {
  // The largest file the process may write, in bytes (0: no limit). A write
  // past it stops at the limit and the process dies of SIGXFSZ: a kill in
  // the middle of that write, placed to the byte.
  std::uint64_t file_size_limit = 0;
};

class ChildProcess {
 public:
  // Starts `arguments` (the program's path first) with the test's
  // environment; output goes to `output_prefix` + ".out" and ".err".
  // Fails the current test when the program cannot be started.
  ChildProcess(const std::vector<std::string>& arguments, const std::string& output_prefix,
               const ChildOptions& options = {});
  // Kills and reaps a process still running.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Id() const { return pid_; }

  // The bytes the process has written so far; what was last read once it
  // has ended.
  std::uint64_t BytesWritten();

  // Waits, yielding the processor, until the process has written at least
  // `bytes` or has ended. True when it is still running.
  bool RunUntilWritten(std::uint64_t bytes);

  // Kills the process with SIGKILL and reaps it.
  void Kill();

  // Waits for the process to end: its exit code, or 128 + the signal that
  // ended it.
  int Wait();

  std::string Output() const;
  std::string Errors() const;

 private:
  bool Ended();

  pid_t pid_ = -1;
  int status_ = 0;
  bool reaped_ = false;
  std::uint64_t last_written_ = 0;
  std::string output_prefix_;
};

// Runs `arguments` to the end and returns its exit code, its output in
// `output` when given.
int RunProgram(const std::vector<std::string>& arguments, const std::string& output_prefix,
               std::string* output = nullptr);

}  // namespace tavi::testing
