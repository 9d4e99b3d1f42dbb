// The race time's one text form, shared by the race messages, the menus and --records.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#include "records/race_time.h"

#include <cstdio>

std::string RaceTimeText(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", seconds);
  return text;
}
