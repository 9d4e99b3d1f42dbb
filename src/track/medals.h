// Medals: what a best time won against a track's target times. Derived from the best time alone
// whenever asked, never kept apart, so a medal cannot disagree with the time that won it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "track/track_file.h"

enum class Medal { None, Bronze, Silver, Gold, Author };

// "Bronze", "Silver", "Gold", "Author"; "" for None.
const char* MedalName(Medal medal);
// The colour a medal's name is shown in (red, green, blue, 0 to 1).
std::array<float, 3> MedalColour(Medal medal);

struct MedalTarget {
  Medal medal = Medal::None;
  double seconds = 0;
};

// The targets in the order they are won: bronze, silver, gold, then the author's time.
std::vector<MedalTarget> MedalTargets(const TrackTargets& targets);

// The best medal a race time of `best` seconds wins: each target in order is won while the time
// is at most its seconds (the author's time only after gold, where there are medals).
Medal MedalOf(std::optional<int64_t> best, const TrackTargets& targets);

// The next target after the medal `best` wins; none when it has won the last.
std::optional<MedalTarget> NextTarget(std::optional<int64_t> best, const TrackTargets& targets);

// "Gold 65.8 s": the target's medal and time, to the tenth.
std::string MedalTargetText(const MedalTarget& target);

// The targets the autopilot's race time sets: gold its time rounded up to the tenth, silver 10 %
// and bronze 25 % slower (each rounded up to the tenth).
std::array<double, 3> MedalsFromAutopilot(double seconds);
