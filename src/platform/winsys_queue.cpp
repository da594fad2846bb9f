// Message queues: sending, posting, waiting and dispatching.

#include <algorithm>

#include "platform/ascii.h"
#include "platform/winsys.h"
#include "platform/winsys_input_routing.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace {

using winsys_internal::FindQueue;
using winsys_internal::FindRecord;
using winsys_internal::Lock;
using winsys_internal::PostToThread;
using winsys_internal::QueueOfCallingThread;
using winsys_internal::Registry;
using winsys_internal::SentMessage;
using winsys_internal::TheRegistry;
using winsys_internal::ThreadQueue;
using winsys_internal::WindowRecord;

// A blocked thread wakes at least this often even when nothing is due, so
// that a clock far in the future never turns into one enormous wait.
constexpr Clock::duration kLongestWait = std::chrono::hours(1);

// Calls the window's procedure (or DefWindowProc) on the calling thread;
// 0 for a stale handle. Lock not held.
LResult CallProcedure(const Message& message) {
  std::shared_ptr<const WindowProcedure> procedure;
  {
    Registry& registry = TheRegistry();
    Lock lock(registry.lock);
    const WindowRecord* record = FindRecord(registry, message.window);
    if (record == nullptr) return 0;
    procedure = record->procedure;
  }
  if (!procedure) {
    return DefWindowProc(message.window, message.message, message.wparam, message.lparam);
  }
  return (*procedure)(message.window, message.message, message.wparam, message.lparam);
}

// Handles the oldest message sent to the calling thread from another
// thread, answering its sender. False when none waits. Takes `lock` (on the
// registry) and gives it back held.
bool HandleOneSentMessage(Registry& registry, Lock& lock, ThreadQueue& queue) {
  if (queue.sent.empty()) return false;
  const std::shared_ptr<SentMessage> sent = queue.sent.front();
  queue.sent.pop_front();
  lock.unlock();
  const LResult result = CallProcedure(sent->message);
  lock.lock();
  sent->result = result;
  sent->done = true;
  if (ThreadQueue* sender = FindQueue(registry, sent->sender)) sender->changed.notify_all();
  return true;
}

void HandleAllSentMessages(Registry& registry, Lock& lock, ThreadQueue& queue) {
  while (HandleOneSentMessage(registry, lock, queue)) {
  }
}

// The next message in order of preference (posted, quit, timers); false
// when nothing is waiting. Input is routed when it first comes up, and
// dropped when it can no longer be delivered. Lock held.
bool TakeNextMessage(Registry& registry, ThreadQueue& queue, bool remove, Message& message) {
  while (!queue.posted.empty()) {
    winsys_internal::QueuedMessage& front = queue.posted.front();
    if (front.input && !winsys_internal::DeliverInput(registry, queue, front.message)) {
      queue.posted.pop_front();
      continue;
    }
    front.input = false;
    message = front.message;
    if (remove) queue.posted.pop_front();
    return true;
  }
  if (queue.quit_requested) {
    message = {{}, WM_QUIT, static_cast<WParam>(queue.quit_code), 0};
    if (remove) queue.quit_requested = false;
    return true;
  }
  return winsys_internal::TakeDueTimer(registry, queue.thread, Now(), remove, message);
}

// Blocks the calling thread until its queue is signalled or its next timer
// or `deadline` comes. Lock held.
void WaitForChange(Registry& registry, Lock& lock, ThreadQueue& queue, Clock::time_point deadline) {
  const Clock::time_point now = Now();
  const Clock::time_point wake =
      std::min(deadline, winsys_internal::EarliestTimerDue(registry, queue.thread));
  queue.changed.wait_for(lock, std::clamp(wake - now, Clock::duration::zero(), kLongestWait));
}

// Queues a sent message for the window's owner and returns it; nullptr for a
// stale window. `sender` 0 means nobody waits for the answer. Lock held.
std::shared_ptr<SentMessage> QueueSentMessage(Registry& registry, const Message& message,
                                              ThreadId sender) {
  const WindowRecord* record = FindRecord(registry, message.window);
  if (record == nullptr) return nullptr;
  ThreadQueue* owner = FindQueue(registry, record->thread);
  if (owner == nullptr) return nullptr;
  auto sent = std::make_shared<SentMessage>();
  sent->message = message;
  sent->sender = sender;
  owner->sent.push_back(sent);
  owner->changed.notify_all();
  return sent;
}

// Sends to a window of another thread and waits for the answer, handling
// messages sent to the calling thread meanwhile.
LResult SendAcrossThreads(const Message& message) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  ThreadQueue& own_queue = QueueOfCallingThread(registry);
  const std::shared_ptr<SentMessage> sent = QueueSentMessage(registry, message, own_queue.thread);
  if (!sent) return 0;
  while (!sent->done) {
    if (HandleOneSentMessage(registry, lock, own_queue)) continue;
    own_queue.changed.wait(lock);
  }
  return sent->result;
}

bool IsOwnedByCallingThread(WindowHandle window) {
  return GetWindowThreadId(window) == CurrentThreadId();
}

}  // namespace

LResult SendMessage(WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
  const Message sent{window, message, wparam, lparam};
  if (IsOwnedByCallingThread(window)) return CallProcedure(sent);
  return SendAcrossThreads(sent);
}

bool SendNotifyMessage(WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
  const Message sent{window, message, wparam, lparam};
  if (IsOwnedByCallingThread(window)) {
    CallProcedure(sent);
    return true;
  }
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return QueueSentMessage(registry, sent, 0) != nullptr;
}

bool PostMessage(WindowHandle window, MessageId message, WParam wparam, LParam lparam) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  if (!window) {
    return PostToThread(registry, QueueOfCallingThread(registry).thread,
                        {{}, message, wparam, lparam});
  }
  const WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr) return false;
  return PostToThread(registry, record->thread, {window, message, wparam, lparam});
}

bool PostThreadMessage(ThreadId thread, MessageId message, WParam wparam, LParam lparam) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  return PostToThread(registry, thread, {{}, message, wparam, lparam});
}

void PostQuitMessage(int exit_code) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  ThreadQueue& queue = QueueOfCallingThread(registry);
  queue.quit_requested = true;
  queue.quit_code = exit_code;
  queue.changed.notify_all();
}

MessageId RegisterWindowMessage(std::string_view name) {
  if (name.empty()) return 0;
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const std::string key = ToLowerAscii(name);
  const auto found = registry.registered_messages.find(key);
  if (found != registry.registered_messages.end()) return found->second;
  const std::size_t count = registry.registered_messages.size();
  if (count > kLastRegisteredMessage - kFirstRegisteredMessage) return 0;
  const auto number = static_cast<MessageId>(kFirstRegisteredMessage + count);
  registry.registered_messages.emplace(key, number);
  return number;
}

WaitResult GetMessageUntil(Message& message, Clock::time_point deadline) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  ThreadQueue& queue = QueueOfCallingThread(registry);
  for (;;) {
    if (HandleOneSentMessage(registry, lock, queue)) continue;
    if (TakeNextMessage(registry, queue, true, message)) {
      return message.message == WM_QUIT ? WaitResult::kQuit : WaitResult::kMessage;
    }
    if (Now() >= deadline) return WaitResult::kTimeout;
    WaitForChange(registry, lock, queue, deadline);
  }
}

bool GetMessage(Message& message) {
  return GetMessageUntil(message, Clock::time_point::max()) != WaitResult::kQuit;
}

bool PeekMessage(Message& message, bool remove) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  ThreadQueue& queue = QueueOfCallingThread(registry);
  HandleAllSentMessages(registry, lock, queue);
  return TakeNextMessage(registry, queue, remove, message);
}

LResult DispatchMessage(const Message& message) {
  if (message.message == WM_TIMER && message.lparam != 0) {
    std::shared_ptr<const TimerCallback> callback;
    {
      Registry& registry = TheRegistry();
      Lock lock(registry.lock);
      callback = winsys_internal::FindTimerCallback(registry, message.window, message.wparam);
    }
    if (callback) (*callback)(message.window, message.wparam);
    return 0;
  }
  if (!message.window || !IsOwnedByCallingThread(message.window)) return 0;
  return CallProcedure(message);
}

bool PumpWaitingMessages() {
  Message message;
  while (PeekMessage(message, true)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wparam));
      return false;
    }
    DispatchMessage(message);
  }
  return true;
}

void WakeMessageQueues() {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  for (const auto& [thread, queue] : registry.queues) queue->changed.notify_all();
}

}  // namespace tavi::platform
