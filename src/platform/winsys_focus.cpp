#include "platform/winsys_focus.h"

#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindQueue;
using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::ThreadQueue;
using winsys_internal::WindowRecord;

// True when `window` is `ancestor` or lies inside it. Lock held.
bool IsSelfOrDescendant(Registry& registry, WindowHandle ancestor, WindowHandle window) {
  while (window) {
    if (window == ancestor) return true;
    const WindowRecord* record = FindRecord(registry, window);
    if (record == nullptr) return false;
    window = record->parent;
  }
  return false;
}

// Takes the focus away from the thread of `record` when it lies inside
// `window`; returns the window that lost it, or none. Lock held.
WindowHandle DropFocusInside(Registry& registry, WindowHandle window, const WindowRecord& record) {
  ThreadQueue* queue = FindQueue(registry, record.thread);
  if (queue == nullptr || !IsSelfOrDescendant(registry, window, queue->focus)) return {};
  const WindowHandle lost = queue->focus;
  queue->focus = {};
  if (WindowRecord* lost_record = FindRecord(registry, lost)) {
    winsys_internal::Touch(registry, *lost_record);
  }
  return lost;
}

}  // namespace

bool EnableWindow(WindowHandle window, bool enable) {
  Registry& registry = TheRegistry();
  WindowHandle lost_focus;
  {
    Lock lock(registry.lock);
    WindowRecord* record = FindRecord(registry, window);
    if (record == nullptr) return false;
    if (record->enabled == enable) return true;
    record->enabled = enable;
    winsys_internal::Touch(registry, *record);
    if (!enable) lost_focus = DropFocusInside(registry, window, *record);
  }
  if (lost_focus) SendMessage(lost_focus, WM_KILLFOCUS, 0, 0);
  return true;
}

bool IsWindowEnabled(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const WindowRecord* record = FindRecord(registry, window);
  return record != nullptr && record->enabled;
}

WindowHandle SetFocus(WindowHandle window) {
  Registry& registry = TheRegistry();
  WindowHandle previous;
  {
    Lock lock(registry.lock);
    ThreadQueue& queue = winsys_internal::QueueOfCallingThread(registry);
    WindowRecord* record = FindRecord(registry, window);
    if (window && (record == nullptr || record->thread != queue.thread)) return {};
    previous = queue.focus;
    if (previous == window) return previous;
    queue.focus = window;
    if (record != nullptr) winsys_internal::Touch(registry, *record);
    if (WindowRecord* previous_record = FindRecord(registry, previous)) {
      winsys_internal::Touch(registry, *previous_record);
    }
  }
  if (previous) SendMessage(previous, WM_KILLFOCUS, window.id, 0);
  if (window) SendMessage(window, WM_SETFOCUS, previous.id, 0);
  return previous;
}

WindowHandle GetFocus() { return GetThreadFocus(CurrentThreadId()); }

WindowHandle GetThreadFocus(ThreadId thread) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const ThreadQueue* queue = FindQueue(registry, thread);
  return queue == nullptr ? WindowHandle{} : queue->focus;
}

bool SetForegroundWindow(WindowHandle window) {
  return BringWindowToTop(GetTopLevelWindow(window));
}

WindowHandle GetForegroundWindow() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  for (const WindowHandle window : registry.top_levels) {
    if (FindRecord(registry, window)->visible) return window;
  }
  return {};
}

WindowHandle GetTopLevelWindow(WindowHandle window) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return winsys_internal::TopLevelOf(registry, window);
}

}  // namespace tavi::platform
