#pragma once

// What every modal wait of the window system shares (a modal dialog, a
// message box waiting for a front end, a popup menu): the owner blocked
// while it lasts, a message loop that keeps the thread's windows alive, and
// the front end's answer that ends it.

#include <functional>
#include <optional>
#include <vector>

#include "platform/winsys.h"
#include "platform/winsys_input.h"
#include "platform/winsys_registry.h"

namespace tavi::platform::winsys_internal {

// Blocks the top-level window of `owner` for as long as it lives: marks it
// as blocked by a modal loop and disables it when it was enabled. Release
// (or the destructor) unmarks it and enables it again when this block
// disabled it. An `owner` that is none or stale blocks nothing.
class ModalBlock {
 public:
  explicit ModalBlock(WindowHandle owner);
  ~ModalBlock();
  ModalBlock(const ModalBlock&) = delete;
  ModalBlock& operator=(const ModalBlock&) = delete;

  void Release();

 private:
  WindowHandle top_level_;
  bool disabled_here_ = false;
};

// Gets and handles the calling thread's messages (through
// TranslateDialogInput, then DispatchMessage) until `done` returns true,
// which it is asked before each message. Returns false when a WM_QUIT ended
// the loop; the quit is then put back for the outer loop.
bool RunModalLoop(const std::function<bool()>& done);

// Registers a request of the calling thread that waits for a front end's
// answer (a message box, a popup menu) and returns its id. Lock held.
int OpenRequest(Registry& registry);

// Waits in a modal loop until request `id` is answered, and returns the
// answer, or `on_quit` when a WM_QUIT ended the wait (the quit is put
// back). The request and its pending box or popup are then forgotten.
int WaitForAnswer(int id, int on_quit);

// Answers request `id` and wakes the thread that waits for it; false when no
// such request waits or it has its answer already.
bool StoreAnswer(int id, int answer);

// A request put to the front end, when one is present: the owner is
// blocked first, so that a front end that sees the pending request never
// finds the owner taking input; then the request gets its id and waits in
// the registry's `pending` list. Without a front end the request is only
// numbered. The owner is unblocked when this goes.
template <typename Request>
class FrontEndRequest {
 public:
  FrontEndRequest(Request& request, std::vector<Request> Registry::*pending, WindowHandle owner) {
    if (IsFrontEndPresent()) block_.emplace(owner);
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    if (!registry.front_end_present) {
      request.id = registry.next_request_id++;
      return;
    }
    request.id = OpenRequest(registry);
    (registry.*pending).push_back(request);
    id_ = request.id;
  }
  FrontEndRequest(const FrontEndRequest&) = delete;
  FrontEndRequest& operator=(const FrontEndRequest&) = delete;

  // True when the front end is to answer.
  bool pending() const { return id_ != 0; }

  // The front end's answer (pending requests only).
  int Wait(int on_quit) { return WaitForAnswer(id_, on_quit); }

 private:
  std::optional<ModalBlock> block_;
  int id_ = 0;
};

}  // namespace tavi::platform::winsys_internal
