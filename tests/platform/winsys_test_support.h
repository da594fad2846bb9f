#pragma once

// Helpers for the window-system tests: windows that record their messages,
// a thread with its own message loop, and a fixture that leaves the
// process-wide registries clean.

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/clock.h"
#include "platform/winsys.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_input.h"
#include "platform/winsys_menu.h"
#include "platform/winsys_mouse.h"
#include "platform/winsys_shell.h"
#include "platform/winsys_snapshot.h"

namespace tavi::testing {

// One message as a window procedure saw it.
struct SeenMessage {
  platform::WindowHandle window;
  platform::MessageId message = 0;
  platform::WParam wparam = 0;
  platform::ThreadId thread = 0;

  bool operator==(const SeenMessage&) const = default;
};

// What a parent heard from a control: a WM_COMMAND (id and code of wparam)
// or a WM_NOTIFY (id and code of the header).
struct Notice {
  platform::MessageId message = 0;
  int id = 0;
  int code = 0;

  bool operator==(const Notice&) const = default;
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
      Record(window, message, wparam, lparam);
      if (handle) {
        if (const auto result = handle(window, message, wparam, lparam)) return *result;
      }
      return platform::DefWindowProc(window, message, wparam, lparam);
    };
  }

  // A dialog procedure that records and then lets `handle` decide.
  platform::DialogProcedure Dialog(Handler handle = {}) {
    return [this, handle](platform::WindowHandle window, platform::MessageId message,
                          platform::WParam wparam,
                          platform::LParam lparam) -> std::optional<platform::LResult> {
      Record(window, message, wparam, lparam);
      if (handle) return handle(window, message, wparam, lparam);
      return std::nullopt;
    };
  }

  // Every WM_COMMAND and WM_NOTIFY seen so far, in order.
  std::vector<Notice> Notices() const {
    std::lock_guard<std::mutex> guard(lock_);
    return notices_;
  }
  void ClearNotices() {
    std::lock_guard<std::mutex> guard(lock_);
    notices_.clear();
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
  void Record(platform::WindowHandle window, platform::MessageId message, platform::WParam wparam,
              platform::LParam lparam) {
    std::lock_guard<std::mutex> guard(lock_);
    seen_.push_back({window, message, wparam, platform::CurrentThreadId()});
    if (message == platform::WM_COMMAND) {
      notices_.push_back({message, platform::LowWord(wparam), platform::HighWord(wparam)});
    } else if (message == platform::WM_NOTIFY) {
      const auto* header = reinterpret_cast<const platform::NotifyHeader*>(lparam);
      notices_.push_back({message, header->id, header->code});
    }
  }

  mutable std::mutex lock_;
  std::vector<SeenMessage> seen_;
  std::vector<Notice> notices_;
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

// Waits, as a front end does, for the window system to reach a state: the
// change listener wakes it after each change, and it looks again.
class ChangeWaiter {
 public:
  ChangeWaiter() {
    platform::SetChangeListener([this] {
      std::lock_guard<std::mutex> guard(lock_);
      ++changes_;
      changed_.notify_all();
    });
  }
  ~ChangeWaiter() { platform::SetChangeListener({}); }
  ChangeWaiter(const ChangeWaiter&) = delete;
  ChangeWaiter& operator=(const ChangeWaiter&) = delete;

  // The first snapshot for which `ready` holds.
  platform::Snapshot WaitFor(const std::function<bool(const platform::Snapshot&)>& ready) {
    std::unique_lock<std::mutex> lock(lock_);
    for (;;) {
      const std::uint64_t seen = changes_;
      lock.unlock();
      platform::Snapshot snapshot = platform::TakeSnapshot();
      if (ready(snapshot)) return snapshot;
      lock.lock();
      changed_.wait(lock, [&] { return changes_ != seen; });
    }
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;
};

// Destroys the windows the test thread left behind and puts back the clock,
// the mouse, the desktop, the listener and the front end's handlers, so that
// tests sharing the process-wide registries do not see each other.
class WinsysTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // First, as the listener's captures end with the test.
    platform::SetChangeListener({});
    platform::Message leftover;
    while (platform::PeekMessage(leftover, true)) {
    }
    for (const platform::WindowSnapshot& state : platform::TakeSnapshot().windows) {
      if (!state.parent && state.thread == platform::CurrentThreadId()) {
        platform::DestroyWindow(state.handle);
      }
    }
    platform::ResetClock();
    platform::ReleaseCapture();
    platform::ClipCursor(std::nullopt);
    platform::SetCursorPos({});
    platform::SetDesktopSize(platform::kDefaultDesktopSize);
    platform::SetFrontEndPresent(false);
    platform::SetPopupMenuHandler({});
    platform::ClearShownPopupMenus();
    platform::SetShellHandler({});
    platform::ClearShownShellRequests();
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
