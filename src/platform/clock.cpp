// Calendar and monotonic clocks with a replaceable calendar source.
#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace platform {
namespace {
std::function<std::time_t()>& CalendarSource() {
  static std::function<std::time_t()> source;
  return source;
}
}  // namespace

std::time_t CalendarTime() {
  auto& source = CalendarSource();
  return source ? source() : std::time(nullptr);
}

void SetCalendarClock(std::function<std::time_t()> clock) { CalendarSource() = std::move(clock); }

double MonotonicSeconds() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void SleepSeconds(double seconds) {
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

}  // namespace platform
