#include "web/stop_request.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

// The quit requests that reach the calling thread's loop: runs it until
// the first, then counts those still waiting behind it.
int QuitsReachingTheLoop() {
  platform::Message message;
  int quits = 0;
  while (platform::PeekMessage(message, true)) {
    if (message.message == platform::WM_QUIT) {
      ++quits;
      continue;
    }
    platform::DispatchMessage(message);
  }
  // A quit request taken by PeekMessage shows as WM_QUIT above; one still
  // pending is taken by GetMessage.
  while (!platform::PumpWaitingMessages()) ++quits;
  return quits;
}

TEST(StopRequest, EndsTheLoopOnceWhetherItCameBeforeOrAfterTheLoopBegan) {
  const std::unique_ptr<UiThreadWork> work = UiThreadWork::Create();
  ASSERT_NE(work, nullptr);
  int exits = 0;
  {
    StopRequest early([&exits] { ++exits; });
    early.Request();
    EXPECT_TRUE(early.Requested());
    early.EndLoopOf(work.get());
    early.Request();
    EXPECT_EQ(QuitsReachingTheLoop(), 1);
  }
  {
    StopRequest late([&exits] { ++exits; });
    late.EndLoopOf(work.get());
    EXPECT_FALSE(late.Requested());
    EXPECT_EQ(QuitsReachingTheLoop(), 0);
    late.Request();
    EXPECT_EQ(QuitsReachingTheLoop(), 1);
  }
  EXPECT_EQ(exits, 0);
}

TEST(StopRequest, EndsTheProgramWhileWaitingForTheDataFolder) {
  int exits = 0;
  StopRequest waiting([&exits] { ++exits; });
  waiting.SetEndsProgram(true);
  waiting.Request();
  EXPECT_EQ(exits, 1);
  StopRequest before([&exits] { ++exits; });
  before.Request();
  EXPECT_EQ(exits, 1);
  before.SetEndsProgram(true);
  EXPECT_EQ(exits, 2);
  StopRequest after([&exits] { ++exits; });
  after.SetEndsProgram(true);
  after.SetEndsProgram(false);
  after.Request();
  EXPECT_EQ(exits, 2);
  EXPECT_TRUE(after.Requested());
}

}  // namespace
}  // namespace tavi::web
