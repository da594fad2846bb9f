#include "web/stop_signals.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <future>

namespace tavi::web {
namespace {

bool Blocked(int signal_number) {
  sigset_t mask;
  pthread_sigmask(SIG_SETMASK, nullptr, &mask);
  return sigismember(&mask, signal_number) == 1;
}

// The test's process has no other thread that could take the signal: the
// signals sent here can only reach the stop thread.
TEST(StopSignals, CtrlCAndSigtermBecomeRequestsAndTheMaskIsPutBack) {
  ASSERT_FALSE(Blocked(SIGTERM));
  {
    std::promise<void> first;
    std::promise<void> second;
    int calls = 0;
    const StopSignals signals([&] { ++calls == 1 ? first.set_value() : second.set_value(); });
    EXPECT_TRUE(Blocked(SIGINT));
    EXPECT_TRUE(Blocked(SIGTERM));
    kill(getpid(), SIGTERM);
    first.get_future().wait();
    kill(getpid(), SIGINT);
    second.get_future().wait();
    EXPECT_EQ(calls, 2);
  }
  EXPECT_FALSE(Blocked(SIGINT));
  EXPECT_FALSE(Blocked(SIGTERM));
}

}  // namespace
}  // namespace tavi::web
