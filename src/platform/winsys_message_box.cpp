// Message boxes. Headless, a box is an entry in a log and an answer from the
// installed handler (a front end, a test) or from the box's default button.

#include <mutex>

#include "platform/winsys.h"

namespace tavi::platform {
namespace {

struct MessageBoxState {
  std::mutex lock;
  MessageBoxHandler handler;
  std::vector<MessageBoxRequest> shown;
};

MessageBoxState& TheState() {
  static MessageBoxState* const state = new MessageBoxState;
  return *state;
}

// The buttons of a box, left to right.
std::vector<int> ButtonsOf(std::uint32_t flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
      return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
      return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
      return {IDYES, IDNO};
    case MB_RETRYCANCEL:
      return {IDRETRY, IDCANCEL};
  }
  return {IDOK};
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) {
  MessageBoxState& state = TheState();
  std::lock_guard<std::mutex> guard(state.lock);
  state.handler = std::move(handler);
}

int DefaultMessageBoxAnswer(std::uint32_t flags) {
  const std::vector<int> buttons = ButtonsOf(flags);
  const std::size_t index = (flags & MB_DEFMASK) >> 8;
  // The system falls back to the first button when the named one is missing.
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
               std::uint32_t flags) {
  const MessageBoxRequest request{owner, text, caption, flags, CurrentThreadId()};
  MessageBoxHandler handler;
  {
    MessageBoxState& state = TheState();
    std::lock_guard<std::mutex> guard(state.lock);
    state.shown.push_back(request);
    handler = state.handler;
  }
  if (!handler) return DefaultMessageBoxAnswer(flags);
  return handler(request);
}

std::vector<MessageBoxRequest> ShownMessageBoxes() {
  MessageBoxState& state = TheState();
  std::lock_guard<std::mutex> guard(state.lock);
  return state.shown;
}

void ClearShownMessageBoxes() {
  MessageBoxState& state = TheState();
  std::lock_guard<std::mutex> guard(state.lock);
  state.shown.clear();
}

}  // namespace tavi::platform
