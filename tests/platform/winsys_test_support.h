#pragma once

// Helpers for the window-system tests: windows that record their messages,
// a thread with its own message loop, and a fixture that leaves the
// process-wide registries clean.

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/winsys.h"

namespace tavi::testing {

// One message as a window procedure saw it.
struct SeenMessage {
  platform::WindowHandle window;
  platform::MessageId message = 0;
  platform::WParam wparam = 0;
  platform::ThreadId thread = 0;

  bool operator==(const SeenMessage&) const = default;
};

// Records every message its procedures receive (from any thread) and passes
// them on to `handle` (when set) or to DefWindowProc.
class MessageLog {
 public:
  using Handler = std::function<std::optional<platform::LResult>(
      platform::WindowHandle, platform::MessageId, platform::WParam, platform::LParam)>;

  platform::WindowProcedure Procedure(Handler handle = {}) {
    return [this, handle](platform::WindowHandle window, platform::MessageId message,
                          platform::WParam wparam, platform::LParam lparam) {
      {
        std::lock_guard<std::mutex> guard(lock_);
        seen_.push_back({window, message, wparam, platform::CurrentThreadId()});
      }
      if (handle) {
        if (const auto result = handle(window, message, wparam, lparam)) return *result;
      }
      return platform::DefWindowProc(window, message, wparam, lparam);
    };
  }

  // The messages seen so far with the given number, in order.
  std::vector<SeenMessage> Seen(platform::MessageId message) const {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<SeenMessage> matching;
    for (const SeenMessage& seen : seen_) {
      if (seen.message == message) matching.push_back(seen);
    }
    return matching;
  }

 private:
  mutable std::mutex lock_;
  std::vector<SeenMessage> seen_;
};

// A thread running a message loop: `setup` runs on it first (to create its
// windows), then it gets and dispatches messages until it is stopped.
class LoopThread {
 public:
  explicit LoopThread(std::function<void()> setup = {}) {
    std::promise<platform::ThreadId> ready;
    std::future<platform::ThreadId> id = ready.get_future();
    thread_ = std::thread([setup, ready = std::move(ready)]() mutable {
      const platform::ThreadId id = platform::EnsureMessageQueue();
      if (setup) setup();
      ready.set_value(id);
      platform::Message message;
      while (platform::GetMessage(message)) platform::DispatchMessage(message);
    });
    id_ = id.get();
  }
  ~LoopThread() { Stop(); }
  LoopThread(const LoopThread&) = delete;
  LoopThread& operator=(const LoopThread&) = delete;

  platform::ThreadId id() const { return id_; }

  // Ends the loop and joins the thread; its windows go with it.
  void Stop() {
    if (!thread_.joinable()) return;
    platform::PostThreadMessage(id_, platform::WM_QUIT, 0, 0);
    thread_.join();
  }

 private:
  std::thread thread_;
  platform::ThreadId id_ = 0;
};

// Destroys the windows the test thread left behind and unpins the clock, so
// that tests sharing the process-wide registries do not see each other.
class WinsysTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::Message leftover;
    while (platform::PeekMessage(leftover, true)) {
    }
    for (const platform::WindowState& state : platform::SnapshotWindows()) {
      if (!state.parent && state.thread == platform::CurrentThreadId()) {
        platform::DestroyWindow(state.handle);
      }
    }
    platform::ResetClock();
  }

  // Outlives TearDown, so windows whose procedures record here may be left
  // for TearDown to destroy.
  MessageLog log_;

  static platform::WindowHandle MakeWindow(const std::string& class_name, const std::string& title,
                                           platform::WindowHandle parent = {},
                                           platform::WindowProcedure procedure = {},
                                           bool visible = true) {
    platform::WindowSpec description;
    description.class_name = class_name;
    description.title = title;
    description.parent = parent;
    description.visible = visible;
    description.procedure = std::move(procedure);
    return platform::CreateWindow(description);
  }
};

}  // namespace tavi::testing
