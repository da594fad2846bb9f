#include "web/window_change_events.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/winsys_test_support.h"

namespace tavi::web {
namespace {

// The publishes asked for wait in `later_` until the test runs them, as the
// user-interface thread would.
class WindowChangeEventsTest : public testing::WinsysTest {
 protected:
  WindowChangeEvents::Later Later() {
    return [this](std::function<void()> publish) {
      later_.push_back(std::move(publish));
      return true;
    };
  }
  void RunLater() {
    std::vector<std::function<void()>> waiting;
    waiting.swap(later_);
    for (const auto& publish : waiting) publish();
  }
  std::string Told() { return stream_->Next(std::chrono::steady_clock::now()).value_or("closed"); }

  PageEvents events_;
  std::shared_ptr<PageEventStream> stream_ = events_.Open();
  std::vector<std::function<void()>> later_;
};

TEST_F(WindowChangeEventsTest, ABurstOfChangesIsOneEventAndAChangeAfterItAnother) {
  ASSERT_EQ(Told(), "event: ready\ndata: {}\n\n");
  const WindowChangeEvents changes(events_, Later());
  const platform::WindowHandle window = MakeWindow("TaviDialog", "one");
  for (int i = 0; i < 100; ++i) platform::SetWindowText(window, std::to_string(i));
  EXPECT_EQ(later_.size(), 1u) << "one publish asked for the whole burst";
  EXPECT_EQ(Told(), "") << "nothing before the publish runs";
  RunLater();
  EXPECT_EQ(Told(), "event: windows\ndata: {}\n\n");
  platform::SetWindowText(window, "after");
  ASSERT_EQ(later_.size(), 1u) << "a change after the event asks again";
  RunLater();
  EXPECT_EQ(Told(), "event: windows\ndata: {}\n\n");
}

// Changes on other threads (a background thread's windows) are told too;
// and once the events are gone, a publish still waiting does nothing.
TEST_F(WindowChangeEventsTest, ChangesFromAnyThreadAreToldAndNothingAfterTheEnd) {
  auto changes = std::make_unique<WindowChangeEvents>(events_, Later());
  std::thread([] {
    const platform::WindowHandle window = MakeWindow("Background", "");
    platform::DestroyWindow(window);
  }).join();
  ASSERT_EQ(later_.size(), 1u);
  changes.reset();
  MakeWindow("TaviDialog", "unheard");
  EXPECT_EQ(later_.size(), 1u) << "the listener is gone";
  Told();
  RunLater();
  EXPECT_EQ(Told(), "");
}

}  // namespace
}  // namespace tavi::web
