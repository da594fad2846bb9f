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

std::vector<WindowHandle>& SiblingsOf(Registry& registry, WindowHandle parent) {
  if (WindowRecord* record = FindRecord(registry, parent)) return record->children;
  return registry.top_levels;
}

}  // namespace

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
  std::vector<WindowHandle>& siblings = SiblingsOf(registry, record->parent);
  std::erase(siblings, window);
  RemoveWindowTimers(registry, window);
  registry.windows.erase(window);
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
