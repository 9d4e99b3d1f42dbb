// The race time's one text form, shared by the race messages, the menus and --records.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#include "records/race_time.h"

#include <cstdio>

std::string RaceTimeText(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", seconds);
  return text;
}

namespace {

// Hundredths of a second in `steps` steps, rounded to the nearest.
int64_t Hundredths(int64_t steps) {
  return (steps * 100 + 30) / 60;
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
