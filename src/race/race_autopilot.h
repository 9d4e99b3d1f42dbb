// The autopilot: drives a race as a steady player would, following the centre line ahead and
// braking before tight bends. Its race on a track sets the track's medals.
#pragma once

#include <optional>

#include "race/race.h"

struct Car;
class Track;

// The keys the autopilot holds in this frame of a running race.
HeldKeys AutopilotKeys(const Race& race);

// The autopilot's race time in seconds (simulation steps at the game's frame rate) on `track`
// with `car`, on a race and a copy of the track's line of its own: no clock, keys, sound, GL,
// best time or ghost is touched, and the car's health is the race's own. None when it does not
// finish within an hour.
std::optional<double> AutopilotRaceSeconds(const Track& track, const Car& car);

// Gives a file's track (not a trial's) without medals of its own those of the autopilot's race with
// the first car, computed once for each race (TrackHash) a run; a track it cannot finish stays
// without.
void GiveAutopilotMedals(Track& track);
