// A replay's sounds: each car's engine as its race had it (a kept ghost's read from its poses),
// its hits, scrapes and nitro from its race's marks, its laps, finish or crash at their steps;
// held while paused, pitched with the replay's speed up to 2x and silent above.
#pragma once

#include <cstdint>

#include "game/game_sounds.h"
#include "records/ghost_format.h"

class Replay;
struct Car;

// A car's motion at a step of its path, as its poses tell it: its speed across the ground (per
// step, as the race's velocity after the step) and whether it was being pushed on (Up held, or
// nitro), from how much more it gained than coasting keeps.
struct RecordedMotion {
  double speed = 0;
  bool pushed = false;
};
RecordedMotion MotionAt(const GhostPath& path, int32_t step, const Car* car);

// The fastest speed at which the replay is heard; above it, it is silent.
constexpr double LoudestReplaySpeed = 2.0;

class ReplaySounds {
 public:
  // A replay starting: nothing before its step on screen is sounded.
  void reset();
  // One frame of `replay` at its step on screen (before it advances).
  void frame(const Replay& replay);

 private:
  int32_t last_ = -1;  // the step sounded last frame; -1 before the first
  float throttle_[LoopSeats] = {};
};
