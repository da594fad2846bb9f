// Message boxes. Headless, a box is an entry in a log and an answer from
// the installed handler (a test, the tavi command) or from the box's
// default button; with a front end present, a pending box in the snapshot
// that a modal loop waits on until the front end answers it.

#include <algorithm>

#include "platform/winsys.h"
#include "platform/winsys_input.h"
#include "platform/winsys_modal.h"
#include "platform/winsys_registry.h"
#include "platform/winsys_request_log.h"

namespace tavi::platform {
namespace {

using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;

winsys_internal::RequestLog<MessageBoxRequest, MessageBoxHandler>& TheLog() {
  static auto* const log = new winsys_internal::RequestLog<MessageBoxRequest, MessageBoxHandler>;
  return *log;
}

}  // namespace

std::vector<int> MessageBoxButtons(std::uint32_t flags) {
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

void SetMessageBoxHandler(MessageBoxHandler handler) { TheLog().SetHandler(std::move(handler)); }

int DefaultMessageBoxAnswer(std::uint32_t flags) {
  const std::vector<int> buttons = MessageBoxButtons(flags);
  const std::size_t index = (flags & MB_DEFMASK) >> 8;
  // The system falls back to the first button when the named one is missing.
  return index < buttons.size() ? buttons[index] : buttons.front();
}

int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
               std::uint32_t flags) {
  MessageBoxRequest request{owner, text, caption, flags, CurrentThreadId(), 0};
  winsys_internal::FrontEndRequest<MessageBoxRequest> asked(request, &Registry::pending_boxes,
                                                            owner);
  const MessageBoxHandler handler = TheLog().Record(request);
  if (asked.pending()) return asked.Wait(DefaultMessageBoxAnswer(flags));
  if (!handler) return DefaultMessageBoxAnswer(flags);
  return handler(request);
}

bool AnswerMessageBox(int id, int answer) {
  std::uint32_t flags = 0;
  {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    const auto box = std::ranges::find_if(
        registry.pending_boxes, [&](const MessageBoxRequest& box) { return box.id == id; });
    if (box == registry.pending_boxes.end()) return false;
    flags = box->flags;
  }
  const std::vector<int> buttons = MessageBoxButtons(flags);
  if (std::ranges::find(buttons, answer) == buttons.end()) return false;
  return winsys_internal::StoreAnswer(id, answer);
}

std::vector<MessageBoxRequest> ShownMessageBoxes() { return TheLog().Shown(); }

void ClearShownMessageBoxes() { TheLog().Clear(); }

}  // namespace tavi::platform
