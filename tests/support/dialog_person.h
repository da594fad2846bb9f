#pragma once

// A person in front of the screen, for tests of modal windows: while the
// test's thread runs a modal dialog (and so cannot look at it), the person
// waits on a thread of their own until the dialog is shown, as a front end
// would see it, then reads it and answers it with injected input. No sleeps:
// the window system's change listener wakes the person after each change.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/winsys.h"

namespace tavi::testing {

class DialogPerson {
 public:
  using Act = std::function<void(platform::WindowHandle dialog)>;

  // Starts watching. `act` runs once, on the person's thread, with the first
  // shown dialog (the topmost one when several are), which has handled
  // WM_INITDIALOG by then. Installs the process-wide change listener.
  explicit DialogPerson(Act act);
  // The same for the first shown dialog captioned `caption`, for a test
  // whose own thread shows a window while the dialog is opened over it.
  DialogPerson(std::string caption, Act act);
  // Stops watching when no dialog came, waits for `act` to finish and removes
  // the listener.
  ~DialogPerson();
  DialogPerson(const DialogPerson&) = delete;
  DialogPerson& operator=(const DialogPerson&) = delete;

  // Whether `act` was started, which is before anything it does to the
  // dialog: call it after the modal loop has returned.
  bool Acted() const;

  // For `act`, when the person answers more than one window: waits until
  // the topmost shown dialog is one for which `wanted` holds, and returns
  // it; none when the person is told to stop first.
  platform::WindowHandle WaitForDialog(
      const std::function<bool(platform::WindowHandle dialog)>& wanted);

 private:
  void Watch(const Act& act);
  // Waits until `find` gives a dialog, looking again after each change;
  // none when the person is told to stop first.
  platform::WindowHandle WaitUntilShown(const std::function<platform::WindowHandle()>& find);

  const std::string caption_;  // "" for any dialog

  mutable std::mutex lock_;
  std::condition_variable changed_;
  std::uint64_t changes_ = 0;
  bool stopping_ = false;
  bool acted_ = false;
  std::thread thread_;
};

// Handles the calling thread's waiting messages as a modal dialog's loop
// would, keys through the dialogs (TranslateDialogInput), and returns once
// none is left: for a test that drives a modeless dialog on its own thread.
void PumpDialogMessages();

}  // namespace tavi::testing
