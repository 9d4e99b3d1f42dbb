// The race time's one text form, shared by the race messages, the menus and --records.
#include "race/race_time.h"

#include <cstdio>

#include "platform/frame_rate.h"

std::string RaceTimeText(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", seconds);
  return text;
}

namespace {

// Hundredths of a second in `steps` steps, rounded to the nearest.
int64_t Hundredths(int64_t steps) {
  return (steps * 100 + FramesPerSecond / 2) / FramesPerSecond;
}

}  // namespace

std::string StepsTimeText(int64_t steps) {
  const int64_t h = Hundredths(steps < 0 ? 0 : steps);
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(h / 100),
                static_cast<long long>(h % 100));
  return text;
}

std::string SplitText(int32_t stepDifference) {
  const int64_t difference = stepDifference;
  const std::string magnitude = StepsTimeText(difference < 0 ? -difference : difference);
  if (magnitude == "0.00") return magnitude;
  return (difference < 0 ? "-" : "+") + magnitude;
}
