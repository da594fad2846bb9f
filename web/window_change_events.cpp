#include "web/window_change_events.h"

#include <atomic>
#include <mutex>

#include "platform/winsys_snapshot.h"

namespace tavi::web {

// Held by the listener too, which the window system may still be calling on
// another thread while the owner goes.
struct WindowChangeEvents::Shared {
  // A publish is asked for and has not begun.
  std::atomic<bool> pending{false};
  std::mutex lock;
  PageEvents* events = nullptr;  // none once the owner is gone
  Later later;

  void Changed(const std::shared_ptr<Shared>& self) {
    if (pending.exchange(true)) return;
    const std::lock_guard<std::mutex> guard(lock);
    if (events == nullptr) return;
    later([self] { self->Publish(); });
  }

  // Clears the mark first: a change from now on asks for another event.
  void Publish() {
    pending = false;
    const std::lock_guard<std::mutex> guard(lock);
    if (events != nullptr) events->Publish({"windows"});
  }
};

WindowChangeEvents::WindowChangeEvents(PageEvents& events, Later later)
    : shared_(std::make_shared<Shared>()) {
  shared_->events = &events;
  shared_->later = std::move(later);
  platform::SetChangeListener([shared = shared_] { shared->Changed(shared); });
}

WindowChangeEvents::~WindowChangeEvents() {
  platform::SetChangeListener({});
  const std::lock_guard<std::mutex> guard(shared_->lock);
  shared_->events = nullptr;
}

}  // namespace tavi::web
