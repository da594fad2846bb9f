#include "support/child_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace tavi::testing {
namespace {

// "wchar" of /proc/<pid>/io: bytes passed to write calls; nullopt once the
// process is gone.
std::optional<std::uint64_t> ReadWrittenBytes(pid_t pid) {
  std::ifstream io("/proc/" + std::to_string(pid) + "/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "wchar:") return value;
  }
  return std::nullopt;
}

void RedirectTo(int descriptor, const char* path, int flags) {
  const int opened = open(path, flags | O_CLOEXEC, 0644);
  if (opened < 0) return;
  dup2(opened, descriptor);
  close(opened);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments,
                           const std::string& output_prefix, const ChildOptions& options)
    : output_prefix_(output_prefix) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const std::string out = output_prefix + ".out";
  const std::string err = output_prefix + ".err";
  pid_ = fork();
  if (pid_ == 0) {
    // Only calls that are safe between fork and exec in a threaded program.
    RedirectTo(STDIN_FILENO, "/dev/null", O_RDONLY);
    RedirectTo(STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
    RedirectTo(STDERR_FILENO, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    if (options.file_size_limit > 0) {
      const rlimit limit{options.file_size_limit, options.file_size_limit};
      setrlimit(RLIMIT_FSIZE, &limit);
      signal(SIGXFSZ, SIG_DFL);
    }
    execve(argv[0], argv.data(), environ);
    _exit(127);
  }
  if (pid_ < 0) {
    reaped_ = true;
    ADD_FAILURE() << "cannot start " << arguments.front();
  }
}

ChildProcess::~ChildProcess() {
  if (!reaped_) Kill();
}

bool ChildProcess::Ended() {
  if (reaped_) return true;
  if (waitpid(pid_, &status_, WNOHANG) != pid_) return false;
  reaped_ = true;
  return true;
}

std::uint64_t ChildProcess::BytesWritten() {
  if (!reaped_) {
    if (const auto written = ReadWrittenBytes(pid_)) last_written_ = *written;
  }
  return last_written_;
}

bool ChildProcess::RunUntilWritten(std::uint64_t bytes) {
  while (!Ended()) {
    if (BytesWritten() >= bytes) return true;
    std::this_thread::yield();
  }
  return false;
}

void ChildProcess::Kill() {
  if (reaped_) return;
  kill(pid_, SIGKILL);
  Wait();
}

int ChildProcess::Wait() {
  if (!reaped_) {
    while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
  }
  if (WIFEXITED(status_)) return WEXITSTATUS(status_);
  if (WIFSIGNALED(status_)) return 128 + WTERMSIG(status_);
  return -1;
}

std::string ChildProcess::Output() const { return ReadFile(output_prefix_ + ".out"); }
std::string ChildProcess::Errors() const { return ReadFile(output_prefix_ + ".err"); }

int RunProgram(const std::vector<std::string>& arguments, const std::string& output_prefix,
               std::string* output) {
  ChildProcess child(arguments, output_prefix);
  const int code = child.Wait();
  if (output != nullptr) *output = child.Output() + child.Errors();
  return code;
}

}  // namespace tavi::testing
