// Window and thread timers. A timer is not a queued message: its WM_TIMER is
// made when its thread looks for messages and finds nothing posted, so a slow
// thread gets one WM_TIMER per timer, never a backlog.

#include <algorithm>

#include "platform/winsys.h"
#include "platform/winsys_registry.h"

namespace tavi::platform {
namespace winsys_internal {
namespace {

bool IsTimer(const TimerRecord& timer, ThreadId thread, WindowHandle window, TimerId id) {
  return timer.thread == thread && timer.window == window && timer.id == id;
}

TimerRecord* FindTimer(Registry& registry, ThreadId thread, WindowHandle window, TimerId id) {
  const auto found = std::ranges::find_if(registry.timers, [&](const TimerRecord& timer) {
    return IsTimer(timer, thread, window, id);
  });
  return found == registry.timers.end() ? nullptr : &*found;
}

// The due timer of `thread` that has waited longest; nullptr when none is due.
TimerRecord* FirstDueTimer(Registry& registry, ThreadId thread, Clock::time_point now) {
  TimerRecord* first = nullptr;
  for (TimerRecord& timer : registry.timers) {
    if (timer.thread != thread || timer.due > now) continue;
    if (first == nullptr || timer.due < first->due) first = &timer;
  }
  return first;
}

// Removes the timers `which` picks, their callbacks let go of after the
// lock; whether there was one.
template <typename Which>
bool RemoveTimers(Registry& registry, Which which) {
  for (TimerRecord& timer : registry.timers)
    if (which(timer)) ReleaseAfterUnlock(registry, std::move(timer.callback));
  return std::erase_if(registry.timers, which) != 0;
}

}  // namespace

void RemoveWindowTimers(Registry& registry, WindowHandle window) {
  RemoveTimers(registry, [&](const TimerRecord& timer) { return timer.window == window; });
}

void RemoveThreadTimers(Registry& registry, ThreadId thread) {
  RemoveTimers(registry, [&](const TimerRecord& timer) { return timer.thread == thread; });
}

bool TakeDueTimer(Registry& registry, ThreadId thread, Clock::time_point now, bool remove,
                  Message& message) {
  TimerRecord* timer = FirstDueTimer(registry, thread, now);
  if (timer == nullptr) return false;
  message = {timer->window, WM_TIMER, timer->id, timer->callback ? 1 : 0};
  // As the system does, the next period counts from when the tick is taken,
  // so a late tick delays the following ones instead of bunching them.
  if (remove) timer->due = now + timer->interval;
  return true;
}

std::shared_ptr<const TimerCallback> FindTimerCallback(Registry& registry, WindowHandle window,
                                                       TimerId timer_id) {
  const TimerRecord* timer = FindTimer(registry, CurrentThreadId(), window, timer_id);
  return timer == nullptr ? nullptr : timer->callback;
}

Clock::time_point EarliestTimerDue(const Registry& registry, ThreadId thread) {
  Clock::time_point earliest = Clock::time_point::max();
  for (const TimerRecord& timer : registry.timers) {
    if (timer.thread == thread) earliest = std::min(earliest, timer.due);
  }
  return earliest;
}

}  // namespace winsys_internal

using winsys_internal::Lock;
using winsys_internal::Registry;
using winsys_internal::TheRegistry;
using winsys_internal::TimerRecord;

namespace {

// The id the new timer gets, or 0 when the request is refused. Lock held.
TimerId ChooseTimerId(Registry& registry, WindowHandle window, TimerId requested) {
  if (!window) return registry.next_thread_timer_id++;
  const winsys_internal::WindowRecord* record = winsys_internal::FindRecord(registry, window);
  if (record == nullptr || record->thread != CurrentThreadId()) return 0;
  return requested;
}

}  // namespace

TimerId SetTimer(WindowHandle window, TimerId timer_id, std::chrono::milliseconds interval,
                 TimerCallback callback) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const TimerId id = ChooseTimerId(registry, window, timer_id);
  if (id == 0) return 0;
  const ThreadId thread = winsys_internal::QueueOfCallingThread(registry).thread;
  TimerRecord* timer = winsys_internal::FindTimer(registry, thread, window, id);
  if (timer == nullptr) {
    registry.timers.push_back({thread, window, id, {}, {}, nullptr});
    timer = &registry.timers.back();
  }
  timer->interval = std::max(interval, kMinimumTimerInterval);
  timer->due = Now() + timer->interval;
  winsys_internal::ReleaseAfterUnlock(registry, std::move(timer->callback));
  timer->callback = callback ? std::make_shared<const TimerCallback>(std::move(callback)) : nullptr;
  return id;
}

bool KillTimer(WindowHandle window, TimerId timer_id) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  const ThreadId thread = CurrentThreadId();
  return winsys_internal::RemoveTimers(registry, [&](const TimerRecord& timer) {
    return winsys_internal::IsTimer(timer, thread, window, timer_id);
  });
}

}  // namespace tavi::platform
