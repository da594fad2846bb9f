#pragma once

// Tells the open pages "windows" when the window system changes, so that
// they fetch what changed since the version they hold. The window system
// calls its change listener after every change, from any thread, often
// thousands of times a second while a list fills: the listener only notes
// that a change is pending, and the first change after each event asks for
// the next one to be published later (on the user-interface thread). Every
// change is followed by an event published after it, and a burst of changes
// by one.

#include <functional>
#include <memory>

#include "web/page_events.h"

namespace tavi::web {

class WindowChangeEvents {
 public:
  // Runs `publish` later (on the user-interface thread); false when it
  // never will (the work is closed).
  using Later = std::function<bool(std::function<void()> publish)>;

  // Installs the window system's change listener. `events` must outlive
  // what `later` runs.
  WindowChangeEvents(PageEvents& events, Later later);
  // Removes the listener; a publish still waiting to run does nothing.
  ~WindowChangeEvents();
  WindowChangeEvents(const WindowChangeEvents&) = delete;
  WindowChangeEvents& operator=(const WindowChangeEvents&) = delete;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace tavi::web
