#include "web/stop_signals.h"

#include <csignal>

namespace tavi::web {
namespace {

sigset_t StopSignalSet() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> stop) : stop_(std::move(stop)) {
  const sigset_t signals = StopSignalSet();
  pthread_sigmask(SIG_BLOCK, &signals, &former_mask_);
  thread_ = std::thread([this] { Wait(); });
}

StopSignals::~StopSignals() {
  // The waiting thread is woken by a signal of its own, which it then knows
  // is no request to stop.
  ending_ = true;
  pthread_kill(thread_.native_handle(), SIGTERM);
  thread_.join();
  pthread_sigmask(SIG_SETMASK, &former_mask_, nullptr);
}

void StopSignals::Wait() {
  const sigset_t signals = StopSignalSet();
  for (;;) {
    int signal_number = 0;
    if (sigwait(&signals, &signal_number) != 0) continue;
    if (ending_) return;
    stop_();
  }
}

sigset_t UnblockedSignals() {
  sigset_t none;
  sigemptyset(&none);
  return none;
}

}  // namespace tavi::web
