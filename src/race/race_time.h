// The race time as every message of the race shows it: whole seconds, no fraction.
#pragma once

#include <string>

// "%.0f" of the seconds: "95" for 95.
std::string RaceTimeText(double seconds);
