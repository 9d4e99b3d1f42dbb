// The race time as every message of the race shows it: whole seconds, no fraction.
#pragma once

#include <cstdint>
#include <string>

// "%.0f" of the seconds: "95" for 95.
std::string RaceTimeText(double seconds);

// Seconds with hundredths of a count of simulation steps (FramesPerSecond a second): "61.23" for
// 3674.
std::string StepsTimeText(int64_t steps);
// A difference of steps as a split: "-1.24" ahead, "+0.56" behind, "0.00" even.
std::string SplitText(int32_t stepDifference);
