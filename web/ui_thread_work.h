#pragma once

// Work handed to the host's user-interface thread. The host and the plug-in
// live on that thread; the page's server threads never touch them. They
// queue work here instead: each piece is announced by a message posted to
// a hidden window of the user-interface thread, so whichever message loop
// runs there next does it, a modal loop of the plug-in's windows included,
// in the order it was queued.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/winsys.h"

namespace tavi::web {

// The hidden window's class, for whoever lists the host's windows.
inline constexpr const char* kWorkWindowClass = "HostPageWorkWindow";

class UiThreadWork {
 public:
  using Work = std::function<void()>;

  // Makes the hidden window on the calling thread, which becomes the thread
  // the work runs on; nullptr when the window cannot be made.
  static std::unique_ptr<UiThreadWork> Create();
  // Closes, then destroys the window. On the user-interface thread.
  ~UiThreadWork();
  UiThreadWork(const UiThreadWork&) = delete;
  UiThreadWork& operator=(const UiThreadWork&) = delete;

  // Has `work` run on the user-interface thread and waits until it has run.
  // From any other thread (on the user-interface thread it would wait for
  // itself). False, with `work` never run, when the work was closed first.
  bool Run(Work work);
  // Has `work` run on the user-interface thread after what is queued now,
  // without waiting. From any thread. False when the work was closed.
  bool Post(Work work);
  // Takes no more work, and releases every Run whose work has not begun: it
  // never will. What is running finishes. From any thread.
  void Close();

 private:
  struct Job;

  UiThreadWork() = default;
  std::shared_ptr<Job> Queue(Work work);
  void RunNext();

  std::mutex lock_;
  std::condition_variable finished_;
  std::deque<std::shared_ptr<Job>> queue_;
  bool closed_ = false;
  platform::WindowHandle window_;
};

}  // namespace tavi::web
