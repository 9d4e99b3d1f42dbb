// Clocks the game reads: the calendar clock for race times, a monotonic clock for pacing.
// Both can be replaced so tests control time.
#pragma once

#include <ctime>
#include <functional>

namespace platform {

// Calendar time in whole seconds, as time() gives it.
std::time_t CalendarTime();
// Replaces the calendar clock; an empty function restores the real one.
void SetCalendarClock(std::function<std::time_t()> clock);

// Seconds on a monotonic high-resolution clock.
double MonotonicSeconds();
// Sleeps for the given number of seconds (no busy-wait).
void SleepSeconds(double seconds);

}  // namespace platform
