#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/clock.h"
#include "platform/winsys.h"
#include "platform/winsys_test_support.h"

namespace tavi::platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::minutes;
using testing::SeenMessage;

class TimerTest : public testing::WinsysTest {
 protected:
  void SetUp() override { PinClock(start_); }
  void Advance(Clock::duration step) {
    now_ += step;
    PinClock(now_);
  }

 private:
  const Clock::time_point start_ = Clock::time_point(std::chrono::hours(24 * 365 * 50));
  Clock::time_point now_ = start_;
};

TEST_F(TimerTest, AWindowTimerTicksOncePerPeriodCountedFromTheTakenTick) {
  const WindowHandle main = MakeWindow("TaviAggregatorMainWindow", "", {}, log_.Procedure());
  ASSERT_EQ(SetTimer(main, 2, milliseconds(1000)), 2u);
  const auto ticks = [&] { return log_.Seen(WM_TIMER).size(); };

  Advance(milliseconds(999));
  PumpWaitingMessages();
  EXPECT_EQ(ticks(), 0u);

  Advance(milliseconds(1));
  PumpWaitingMessages();
  ASSERT_EQ(ticks(), 1u);
  EXPECT_EQ(log_.Seen(WM_TIMER)[0], (SeenMessage{main, WM_TIMER, 2, CurrentThreadId()}));

  // A late thread gets one tick, not a backlog, and the next period starts
  // from when that tick was taken.
  Advance(milliseconds(3500));
  PumpWaitingMessages();
  EXPECT_EQ(ticks(), 2u);
  Advance(milliseconds(999));
  PumpWaitingMessages();
  EXPECT_EQ(ticks(), 2u);
  Advance(milliseconds(1));
  PumpWaitingMessages();
  EXPECT_EQ(ticks(), 3u);

  ASSERT_TRUE(KillTimer(main, 2));
  Advance(minutes(1));
  PumpWaitingMessages();
  EXPECT_EQ(ticks(), 3u);
  EXPECT_FALSE(KillTimer(main, 2));
}

TEST_F(TimerTest, PostedMessagesComeBeforeADueTimer) {
  const WindowHandle main = MakeWindow("Main", "");
  ASSERT_NE(SetTimer(main, 1, milliseconds(10)), 0u);
  Advance(milliseconds(10));
  ASSERT_TRUE(PostMessage(main, WM_APP, 0, 0));

  Message message;
  ASSERT_TRUE(GetMessage(message));
  EXPECT_EQ(message.message, WM_APP);
  ASSERT_TRUE(GetMessage(message));
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.wparam, 1u);
  EXPECT_EQ(GetMessageUntil(message, Now()), WaitResult::kTimeout);
}

TEST_F(TimerTest, AThreadTimerCallsItsCallbackWithItsOwnId) {
  std::vector<std::pair<WindowHandle, TimerId>> calls;
  const TimerId id = SetTimer({}, 2, minutes(1), [&](WindowHandle window, TimerId timer_id) {
    calls.emplace_back(window, timer_id);
  });
  ASSERT_NE(id, 0u);
  const TimerId other = SetTimer({}, 0, minutes(5), [](WindowHandle, TimerId) {});
  EXPECT_NE(other, id);

  Advance(minutes(1));
  Message message;
  ASSERT_TRUE(PeekMessage(message, true));
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_FALSE(message.window);
  EXPECT_EQ(message.wparam, id);
  EXPECT_EQ(DispatchMessage(message), 0);
  EXPECT_EQ(calls, (std::vector<std::pair<WindowHandle, TimerId>>{{{}, id}}));

  bool killed_elsewhere = true;
  std::thread stranger([&] { killed_elsewhere = KillTimer({}, id); });
  stranger.join();
  EXPECT_FALSE(killed_elsewhere);

  // A tick taken before the timer was killed no longer calls back.
  Advance(minutes(1));
  ASSERT_TRUE(PeekMessage(message, true));
  ASSERT_TRUE(KillTimer({}, id));
  DispatchMessage(message);
  EXPECT_EQ(calls.size(), 1u);
  EXPECT_TRUE(KillTimer({}, other));
}

TEST_F(TimerTest, TimersAreRefusedForWindowsTheThreadDoesNotOwnAndEndWithTheirWindow) {
  const WindowHandle main = MakeWindow("Main", "");
  EXPECT_EQ(SetTimer(main, 0, milliseconds(10)), 0u);
  EXPECT_EQ(SetTimer(WindowHandle{0xFFFFFF}, 1, milliseconds(10)), 0u);
  TimerId from_other_thread = 1;
  std::thread stranger([&] { from_other_thread = SetTimer(main, 1, milliseconds(10)); });
  stranger.join();
  EXPECT_EQ(from_other_thread, 0u);

  ASSERT_EQ(SetTimer(main, 1, milliseconds(10)), 1u);
  DestroyWindow(main);
  EXPECT_FALSE(KillTimer(main, 1));
}

TEST_F(TimerTest, ShortIntervalsAreRaisedToTheMinimum) {
  const WindowHandle main = MakeWindow("Main", "");
  ASSERT_EQ(SetTimer(main, 1, milliseconds(0)), 1u);
  Message message;
  EXPECT_FALSE(PeekMessage(message, false));
  Advance(kMinimumTimerInterval);
  EXPECT_TRUE(PeekMessage(message, false));
}

// The checker thread's shape: a thread timer with a callback and a message
// loop that blocks until the tick. The loop wakes when the test moves the
// clock, without any real wait.
TEST_F(TimerTest, ABlockedMessageLoopWakesForItsTimerWhenTheClockMoves) {
  std::promise<void> timer_set;
  int ticks = 0;
  std::thread checker([&] {
    SetTimer({}, 0, minutes(1), [&](WindowHandle, TimerId) {
      ++ticks;
      PostQuitMessage(1);
    });
    timer_set.set_value();
    Message message;
    while (GetMessage(message)) DispatchMessage(message);
  });
  timer_set.get_future().wait();

  Advance(minutes(1));
  WakeMessageQueues();
  checker.join();
  EXPECT_EQ(ticks, 1);
}

TEST_F(TimerTest, GetMessageUntilReturnsADueTickBeforeItsDeadline) {
  const WindowHandle main = MakeWindow("Main", "");
  ASSERT_EQ(SetTimer(main, 3, milliseconds(50)), 3u);
  Message message;
  EXPECT_EQ(GetMessageUntil(message, Now()), WaitResult::kTimeout);
  Advance(milliseconds(50));
  EXPECT_EQ(GetMessageUntil(message, Now()), WaitResult::kMessage);
  EXPECT_EQ(message.message, WM_TIMER);
  EXPECT_EQ(message.wparam, 3u);
}

}  // namespace
}  // namespace tavi::platform
