#include "store/pacing.h"

#include <mutex>

#include "platform/sleep.h"

namespace tavi {
namespace {

std::mutex pacing_lock;
Pacing current_pacing;

}  // namespace

Pacing Pacing::None() {
  const Wait zero{0};
  return {zero, zero, zero, zero, zero, zero, zero, zero};
}

Pacing CurrentPacing() {
  std::lock_guard<std::mutex> guard(pacing_lock);
  return current_pacing;
}

void SetPacing(const Pacing& pacing) {
  std::lock_guard<std::mutex> guard(pacing_lock);
  current_pacing = pacing;
}

void PaceWait(Pacing::Wait Pacing::*wait) { platform::SleepFor(CurrentPacing().*wait); }

}  // namespace tavi
