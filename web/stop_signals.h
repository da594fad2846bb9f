#pragma once

// Ctrl+C (SIGINT) and SIGTERM as a request to stop cleanly. The signals are
// blocked in every thread and taken by a thread of their own, which calls
// back in ordinary code: no work is done inside a signal handler, and no
// other thread is ever interrupted by them.

#include <pthread.h>

#include <atomic>
#include <functional>
#include <thread>

namespace tavi::web {

class StopSignals {
 public:
  // Blocks SIGINT and SIGTERM in the calling thread and in every thread it
  // starts from now on: make it before any other thread. A thread of its
  // own then waits for them and calls `stop` on each that arrives.
  explicit StopSignals(std::function<void()> stop);
  // Ends the waiting thread and puts the former signal mask back.
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

 private:
  void Wait();

  std::function<void()> stop_;
  sigset_t former_mask_;
  std::atomic<bool> ending_ = false;
  std::thread thread_;
};

// The mask a program started from here should run with: none of the
// signals blocked, as a program expects (posix_spawnattr_setsigmask).
sigset_t UnblockedSignals();

}  // namespace tavi::web
