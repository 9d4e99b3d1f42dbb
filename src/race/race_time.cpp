// The race time's one text form, shared by the race messages, the menus and --records.
#include "race/race_time.h"

#include <cstdio>

std::string RaceTimeText(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", seconds);
  return text;
}
