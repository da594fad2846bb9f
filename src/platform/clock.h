#pragma once

// The system clock, which tests can pin to a chosen instant.

#include <chrono>

namespace tavi::platform {

using Clock = std::chrono::system_clock;

// The pinned instant when one is set, else the system's current time.
Clock::time_point Now();

// Pins Now() to `instant` for every thread until ResetClock().
void PinClock(Clock::time_point instant);
void ResetClock();

}  // namespace tavi::platform
