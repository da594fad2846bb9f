#include "cli/interrupt_as_stop.h"

#include <csignal>

#include "platform/net.h"

namespace tavi::cli {
namespace {

volatile std::sig_atomic_t g_stop_requested = 0;
struct sigaction g_saved_action {};

// Only what a signal handler may do: store a flag, and have the download
// stand-in store its own.
extern "C" void RequestStop(int) {
  g_stop_requested = 1;
  platform::CancelNetTransfers();
}

}  // namespace

InterruptAsStop::InterruptAsStop() {
  g_stop_requested = 0;
  struct sigaction action {};
  action.sa_handler = RequestStop;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, &g_saved_action);
}

InterruptAsStop::~InterruptAsStop() {
  sigaction(SIGINT, &g_saved_action, nullptr);
  platform::ResetNetCancel();
}

bool InterruptAsStop::Requested() const { return g_stop_requested != 0; }

}  // namespace tavi::cli
