#pragma once

// Waiting, as a seam: tests install a sleeper that records the waits instead
// of sleeping, so no test ever sleeps for real.

#include <chrono>
#include <functional>

namespace tavi::platform {

using Sleeper = std::function<void(std::chrono::milliseconds)>;

// Waits for `duration` through the installed sleeper (by default the thread
// really sleeps). A zero or negative duration returns at once.
void SleepFor(std::chrono::milliseconds duration);

// Installs a sleeper for every thread; an empty function restores real sleep.
void SetSleeper(Sleeper sleeper);

}  // namespace tavi::platform
