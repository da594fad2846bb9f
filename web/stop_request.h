#pragma once

// A request to stop tavi-host, from Ctrl+C or SIGTERM, met wherever the
// program is: while it starts, each step looks whether it should go on;
// once the host's message loop runs, the request ends that loop; while it
// waits for another program to let the data folder go, there is nothing to
// undo, and the request ends the program at once.

#include <functional>
#include <mutex>

#include "web/ui_thread_work.h"

namespace tavi::web {

class StopRequest {
 public:
  // `exit_now` ends the program at once (the default: std::_Exit(1)).
  explicit StopRequest(std::function<void()> exit_now = {});

  // Asks to stop. From any thread.
  void Request();
  bool Requested() const;

  // From now on a request ends the message loop of `work`'s thread (one
  // that came already ends it now); nullptr: no more.
  void EndLoopOf(UiThreadWork* work);
  // While set, a request (or one that came already) ends the program.
  void SetEndsProgram(bool ends_program);

 private:
  void Act();

  std::function<void()> exit_now_;
  mutable std::mutex lock_;
  bool requested_ = false;
  bool ends_program_ = false;
  UiThreadWork* work_ = nullptr;
  // The loop is told once.
  bool loop_told_ = false;
};

}  // namespace tavi::web
