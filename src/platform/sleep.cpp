#include "platform/sleep.h"

#include <mutex>
#include <thread>

namespace tavi::platform {
namespace {

std::mutex sleeper_lock;
Sleeper installed_sleeper;

}  // namespace

void SleepFor(std::chrono::milliseconds duration) {
  if (duration <= std::chrono::milliseconds::zero()) return;
  Sleeper sleeper;
  {
    std::lock_guard<std::mutex> guard(sleeper_lock);
    sleeper = installed_sleeper;
  }
  if (sleeper) {
    sleeper(duration);
    return;
  }
  std::this_thread::sleep_for(duration);
}

void SetSleeper(Sleeper sleeper) {
  std::lock_guard<std::mutex> guard(sleeper_lock);
  installed_sleeper = std::move(sleeper);
}

}  // namespace tavi::platform
