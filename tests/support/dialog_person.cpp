#include "support/dialog_person.h"

#include "platform/winsys_dialog.h"
#include "platform/winsys_snapshot.h"

namespace tavi::testing {
namespace {

// The topmost shown top-level dialog, captioned `caption` unless that is
// empty; none when there is none.
platform::WindowHandle ShownDialog(const std::string& caption) {
  for (const platform::WindowSnapshot& state : platform::TakeSnapshot().windows) {
    if (!state.is_dialog || !state.visible || state.parent) continue;
    if (caption.empty() || state.text == caption) return state.handle;
  }
  return {};
}

}  // namespace

DialogPerson::DialogPerson(Act act) : DialogPerson("", std::move(act)) {}

DialogPerson::DialogPerson(std::string caption, Act act) : caption_(std::move(caption)) {
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

platform::WindowHandle DialogPerson::WaitUntilShown(
    const std::function<platform::WindowHandle()>& find) {
  std::unique_lock<std::mutex> lock(lock_);
  while (!stopping_) {
    const std::uint64_t seen = changes_;
    lock.unlock();
    if (const platform::WindowHandle dialog = find()) return dialog;
    lock.lock();
    changed_.wait(lock, [&] { return changes_ != seen || stopping_; });
  }
  return {};
}

platform::WindowHandle DialogPerson::WaitForDialog(
    const std::function<bool(platform::WindowHandle dialog)>& wanted) {
  return WaitUntilShown([&] {
    const platform::WindowHandle dialog = ShownDialog("");
    return dialog && wanted(dialog) ? dialog : platform::WindowHandle{};
  });
}

void DialogPerson::Watch(const Act& act) {
  const platform::WindowHandle dialog = WaitUntilShown([this] { return ShownDialog(caption_); });
  if (!dialog) return;
  {
    // Marked first: what `act` injects may end the dialog, and the test
    // asks as soon as its modal loop returns.
    std::lock_guard<std::mutex> guard(lock_);
    acted_ = true;
  }
  act(dialog);
}

void PumpDialogMessages() {
  platform::Message message;
  while (platform::PeekMessage(message, true)) {
    if (!platform::TranslateDialogInput(message)) platform::DispatchMessage(message);
  }
}

}  // namespace tavi::testing
