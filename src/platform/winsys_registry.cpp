#include "platform/winsys_registry.h"

#include <algorithm>
#include <atomic>

namespace tavi::platform::winsys_internal {
namespace {

std::atomic<ThreadId> next_thread_id{1};

// Answers every send still waiting in an ending thread's queue with 0, so
// that no sender waits forever for a thread that is gone. Lock held.
void AnswerWaitingSends(Registry& registry, ThreadQueue& queue) {
  for (const std::shared_ptr<SentMessage>& sent : queue.sent) {
    sent->done = true;
    if (ThreadQueue* sender = FindQueue(registry, sent->sender)) sender->changed.notify_all();
  }
  queue.sent.clear();
}

// What the system does when a thread ends: its windows go (with their
// descendants), its timers stop and its queue is discarded. Nothing is sent:
// the objects behind the procedures may already be gone.
void EndThread(ThreadId thread) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  ThreadQueue* queue = FindQueue(registry, thread);
  if (queue == nullptr) return;
  AnswerWaitingSends(registry, *queue);
  std::vector<WindowHandle> owned;
  for (const auto& [handle, record] : registry.windows) {
    if (record.thread == thread) owned.push_back(handle);
  }
  for (const WindowHandle handle : owned) RemoveWindowTree(registry, handle);
  RemoveThreadTimers(registry, thread);
  registry.queues.erase(thread);
}

// Lives as long as the thread that created a queue and discards the queue
// when the thread ends.
struct QueueLifetime {
  ThreadId thread = 0;
  ~QueueLifetime() {
    if (thread != 0) EndThread(thread);
  }
};

thread_local QueueLifetime queue_lifetime;

// Forgets `window` wherever a thread or the system still points at it.
// Lock held.
void ForgetWindow(Registry& registry, WindowHandle window, ThreadId thread) {
  if (ThreadQueue* queue = FindQueue(registry, thread);
      queue != nullptr && queue->focus == window) {
    queue->focus = {};
  }
  // As when the system takes the capture from a window that goes away,
  // nobody is told.
  if (registry.capture == window) registry.capture = {};
  std::erase_if(registry.typed_texts,
                [&](const auto& typed) { return typed.second.edit == window; });
}

}  // namespace

Lock::~Lock() {
  if (!owns_lock()) return;
  Registry& registry = TheRegistry();
  std::vector<std::shared_ptr<const void>> released = std::move(registry.released);
  registry.released.clear();
  std::shared_ptr<const std::function<void()>> listener;
  if (registry.change_pending) listener = registry.change_listener;
  registry.change_pending = false;
  unlock();
  // Outside the lock: the destructors may call the window system, and the
  // listener may read a snapshot at once.
  released.clear();
  if (listener) (*listener)();
}

void ReleaseAfterUnlock(Registry& registry, std::shared_ptr<const void> object) {
  if (object) registry.released.push_back(std::move(object));
}

void Touch(Registry& registry, WindowRecord& record) {
  record.version = ++registry.version;
  registry.change_pending = true;
}

void TouchSystem(Registry& registry) {
  ++registry.version;
  registry.change_pending = true;
}

std::vector<WindowHandle>& SiblingsOf(Registry& registry, const WindowRecord& record) {
  if (WindowRecord* parent = FindRecord(registry, record.parent)) return parent->children;
  return registry.top_levels;
}

WindowRecord* FindDialogRecord(Registry& registry, WindowHandle window) {
  WindowRecord* record = FindRecord(registry, window);
  return record != nullptr && record->dialog ? record : nullptr;
}

WindowHandle TopLevelOf(Registry& registry, WindowHandle window) {
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return {};
  while (record->parent) {
    window = record->parent;
    record = FindRecord(registry, window);
  }
  return window;
}

bool TakesInput(Registry& registry, WindowHandle window) {
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  for (; record != nullptr; record = FindRecord(registry, record->parent)) {
    if (!record->visible || !record->enabled || record->destroying) return false;
  }
  return true;
}

Registry& TheRegistry() {
  static Registry* const registry = [] {
    auto* created = new Registry;
    created->next_window_id = kDesktop.id + 1;
    // Thread timers get ids of their own, apart from the small ids that
    // windows choose for their timers.
    created->next_thread_timer_id = 0x1000;
    return created;
  }();
  return *registry;
}

WindowRecord* FindRecord(Registry& registry, WindowHandle window) {
  const auto found = registry.windows.find(window);
  return found == registry.windows.end() ? nullptr : &found->second;
}

ThreadQueue& QueueOfCallingThread(Registry& registry) {
  const ThreadId thread = CurrentThreadId();
  std::unique_ptr<ThreadQueue>& queue = registry.queues[thread];
  if (!queue) {
    queue = std::make_unique<ThreadQueue>();
    queue->thread = thread;
    queue_lifetime.thread = thread;
  }
  return *queue;
}

bool PostToThread(Registry& registry, ThreadId thread, const Message& message, bool input) {
  ThreadQueue* queue = FindQueue(registry, thread);
  if (queue == nullptr) return false;
  queue->posted.push_back({message, input});
  queue->changed.notify_all();
  return true;
}

ThreadQueue* FindQueue(Registry& registry, ThreadId thread) {
  const auto found = registry.queues.find(thread);
  return found == registry.queues.end() ? nullptr : found->second.get();
}

void RemoveWindowTree(Registry& registry, WindowHandle window) {
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return;
  // Children first: each removal edits its parent's list, so work on a copy.
  const std::vector<WindowHandle> children = record->children;
  for (const WindowHandle child : children) RemoveWindowTree(registry, child);
  std::erase(SiblingsOf(registry, *record), window);
  RemoveWindowTimers(registry, window);
  ForgetWindow(registry, window, record->thread);
  // A menu bar goes with its window.
  DestroyMenuTree(registry, record->menu);
  ReleaseAfterUnlock(registry, std::move(record->procedure));
  registry.windows.erase(window);
  TouchSystem(registry);
}

}  // namespace tavi::platform::winsys_internal

namespace tavi::platform {

ThreadId CurrentThreadId() {
  thread_local const ThreadId thread = winsys_internal::next_thread_id.fetch_add(1);
  return thread;
}

ThreadId EnsureMessageQueue() {
  winsys_internal::Registry& registry = winsys_internal::TheRegistry();
  winsys_internal::Lock lock(registry.lock);
  return winsys_internal::QueueOfCallingThread(registry).thread;
}

}  // namespace tavi::platform
