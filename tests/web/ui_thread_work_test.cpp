#include "web/ui_thread_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace tavi::web {
namespace {

using platform::Message;

// The test's thread is the user-interface thread: it makes the work's
// window and runs the message loop that does the work.
class UiThreadWorkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = UiThreadWork::Create();
    ASSERT_NE(work_, nullptr);
  }

  // Runs `server` on a thread of its own (as a server thread asks) while this
  // thread runs its message loop, until the server thread has finished.
  void WhileLoopRuns(std::function<void()> server) {
    std::thread thread([this, server = std::move(server)] {
      server();
      work_->Post([] { platform::PostQuitMessage(0); });
    });
    RunMessageLoop();
    thread.join();
  }

  static void RunMessageLoop() {
    Message message;
    while (platform::GetMessage(message)) platform::DispatchMessage(message);
  }

  std::unique_ptr<UiThreadWork> work_;
};

TEST_F(UiThreadWorkTest, RunsWorkOnTheUserInterfaceThreadAndWaitsForIt) {
  const platform::ThreadId ui_thread = platform::CurrentThreadId();
  std::vector<platform::ThreadId> ran_on;
  WhileLoopRuns([&] {
    for (int i = 0; i < 3; ++i) {
      EXPECT_TRUE(work_->Run([&] { ran_on.push_back(platform::CurrentThreadId()); }));
      // Run returned only once the work had run.
      EXPECT_EQ(ran_on.size(), static_cast<std::size_t>(i + 1));
    }
  });
  EXPECT_EQ(ran_on, std::vector<platform::ThreadId>(3, ui_thread));
}

TEST_F(UiThreadWorkTest, WorkRunsInsideAModalLoopOfTheUserInterfaceThread) {
  std::atomic<bool> modal_loop_running = false;
  bool modal_loop_ended = false;
  // As a plug-in's modal window does: a loop of its own until it is ended.
  work_->Post([&] {
    modal_loop_running = true;
    Message message;
    while (!modal_loop_ended && platform::GetMessage(message)) platform::DispatchMessage(message);
    modal_loop_running = false;
  });
  WhileLoopRuns([&] {
    bool seen_inside = false;
    EXPECT_TRUE(work_->Run([&] {
      seen_inside = modal_loop_running;
      modal_loop_ended = true;
    }));
    EXPECT_TRUE(seen_inside);
  });
}

TEST_F(UiThreadWorkTest, PostedWorkRunsLaterInOrder) {
  std::vector<int> order;
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(work_->Post([&order, i] { order.push_back(i); }));
  EXPECT_TRUE(order.empty());
  WhileLoopRuns([] {});
  EXPECT_EQ(order, std::vector<int>({0, 1, 2}));
}

TEST_F(UiThreadWorkTest, ClosingReleasesAWaitingRunWhoseWorkNeverRuns) {
  bool ran = false;
  std::atomic<bool> run_result = true;
  std::thread server([&] { run_result = work_->Run([&ran] { ran = true; }); });
  // The announcement of the server's work arrives; instead of doing it, the
  // host shuts down.
  Message message;
  ASSERT_TRUE(platform::GetMessage(message));
  work_->Close();
  server.join();
  EXPECT_FALSE(run_result);
  platform::DispatchMessage(message);
  EXPECT_FALSE(ran);
  std::thread([&] { EXPECT_FALSE(work_->Run([&ran] { ran = true; })); }).join();
  EXPECT_FALSE(work_->Post([&ran] { ran = true; }));
  platform::PumpWaitingMessages();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace tavi::web
