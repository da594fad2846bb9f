#pragma once

// The window system's process-wide state, shared by its source files and by
// nothing else. One lock guards all of it: windows, queues and timers refer
// to each other, and a single lock leaves no lock order to get wrong. Nothing
// calls a window procedure, a timer callback or a handler with it held.

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/winsys.h"

namespace tavi::platform::winsys_internal {

struct WindowRecord {
  std::string class_name;
  std::string title;
  WindowHandle parent;
  bool visible = true;
  bool destroying = false;
  ThreadId thread = 0;
  std::shared_ptr<const WindowProcedure> procedure;
  std::vector<WindowHandle> children;  // topmost first
};

// A message sent to a window of another thread, waiting in the owner's queue
// for its answer. `sender` is 0 when nobody waits (a notify-send).
struct SentMessage {
  Message message;
  ThreadId sender = 0;
  LResult result = 0;
  bool done = false;
};

struct ThreadQueue {
  ThreadId thread = 0;
  // Signalled whenever something arrives that the thread may be waiting for:
  // a posted or sent message, the answer to its own send, a wake-up.
  std::condition_variable changed;
  std::deque<Message> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  bool quit_requested = false;
  int quit_code = 0;
};

struct TimerRecord {
  ThreadId thread = 0;
  WindowHandle window;  // none for a thread timer
  TimerId id = 0;
  Clock::duration interval{};
  Clock::time_point due{};
  std::shared_ptr<const TimerCallback> callback;
};

struct Registry {
  std::mutex lock;
  std::unordered_map<WindowHandle, WindowRecord> windows;
  std::vector<WindowHandle> top_levels;  // topmost first
  std::uint32_t next_window_id = 0;
  std::unordered_map<ThreadId, std::unique_ptr<ThreadQueue>> queues;
  std::vector<TimerRecord> timers;
  TimerId next_thread_timer_id = 0;
  std::map<std::string, MessageId> registered_messages;  // by lower-case name
};

using Lock = std::unique_lock<std::mutex>;

// The one registry; it lives until the process ends, so threads that end
// late (and their clean-up) never find it gone.
Registry& TheRegistry();

// The desktop's handle, which has no record.
inline constexpr WindowHandle kDesktop{1};

// The record of a live window, or nullptr (also for the desktop).
WindowRecord* FindRecord(Registry& registry, WindowHandle window);

// The calling thread's queue, created on first use. Lock held.
ThreadQueue& QueueOfCallingThread(Registry& registry);

// The queue of `thread`, or nullptr when it has none. Lock held.
ThreadQueue* FindQueue(Registry& registry, ThreadId thread);

// Removes `window`, its descendants and their timers from the registry
// without sending anything. Lock held.
void RemoveWindowTree(Registry& registry, WindowHandle window);

// Removes every timer of `window`. Lock held.
void RemoveWindowTimers(Registry& registry, WindowHandle window);

// Removes every timer owned by `thread` (window timers included). Lock held.
void RemoveThreadTimers(Registry& registry, ThreadId thread);

// When a timer of `thread` is due at `now`, stores its WM_TIMER in `message`
// (lparam 1 when the timer has a callback) and, with `remove`, sets its next
// due time. Lock held.
bool TakeDueTimer(Registry& registry, ThreadId thread, Clock::time_point now, bool remove,
                  Message& message);

// The callback of the calling thread's timer that `window` (none: a thread
// timer) and `timer_id` name; empty when there is none. Lock held.
std::shared_ptr<const TimerCallback> FindTimerCallback(Registry& registry, WindowHandle window,
                                                       TimerId timer_id);

// The earliest due time among the timers of `thread`; max() when none.
Clock::time_point EarliestTimerDue(const Registry& registry, ThreadId thread);

}  // namespace tavi::platform::winsys_internal
