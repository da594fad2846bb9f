#include "support/dialog_person.h"

#include "platform/winsys_snapshot.h"

namespace tavi::testing {
namespace {

// The topmost shown top-level dialog; none when there is none.
platform::WindowHandle ShownDialog() {
  for (const platform::WindowSnapshot& state : platform::TakeSnapshot().windows) {
    if (state.is_dialog && state.visible && !state.parent) return state.handle;
  }
  return {};
}

}  // namespace

DialogPerson::DialogPerson(Act act) {
  platform::SetChangeListener([this] {
    std::lock_guard<std::mutex> guard(lock_);
    ++changes_;
    changed_.notify_all();
  });
  thread_ = std::thread([this, act = std::move(act)] { Watch(act); });
}

DialogPerson::~DialogPerson() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
  platform::SetChangeListener({});
}

bool DialogPerson::Acted() const {
  std::lock_guard<std::mutex> guard(lock_);
  return acted_;
}

platform::WindowHandle DialogPerson::WaitForDialog(
    const std::function<bool(platform::WindowHandle dialog)>& wanted) {
  std::unique_lock<std::mutex> lock(lock_);
  while (!stopping_) {
    const std::uint64_t seen = changes_;
    lock.unlock();
    const platform::WindowHandle dialog = ShownDialog();
    if (dialog && wanted(dialog)) return dialog;
    lock.lock();
    changed_.wait(lock, [&] { return changes_ != seen || stopping_; });
  }
  return {};
}

void DialogPerson::Watch(const Act& act) {
  const platform::WindowHandle dialog = WaitForDialog([](platform::WindowHandle) { return true; });
  if (!dialog) return;
  {
    // Marked first: what `act` injects may end the dialog, and the test
    // asks as soon as its modal loop returns.
    std::lock_guard<std::mutex> guard(lock_);
    acted_ = true;
  }
  act(dialog);
}

}  // namespace tavi::testing
