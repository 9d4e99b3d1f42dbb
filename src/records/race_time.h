// The race time as every message of the race shows it: whole seconds, no fraction.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#pragma once

#include <string>

// "%.0f" of the seconds: "95" for 95.
std::string RaceTimeText(double seconds);
