// A race of its own on a built-in track for the simulation benchmarks: the player's car on the
// start line, the race running and Up held while it lives. No GL is needed.
#pragma once

#include "platform/keys.h"
#include "race/race.h"
#include "track/track.h"
#include "track/track_definitions.h"

struct StandaloneRace {
  explicit StandaloneRace(int trackIndex) {
    track.curve = BuiltInTrackCurve(trackIndex);
    player.car = &car;
    player.position = Vector3f(-2.3, 0.05, 0.0);
    player.rotation = Vector3f(0.0, -90.0, 0.0);
    race.player = &player;
    race.track = &track;
    race.state = Race::Running;
    KeyState[VK_UP] = true;
  }
  ~StandaloneRace() { KeyState[VK_UP] = false; }
  StandaloneRace(const StandaloneRace&) = delete;
  StandaloneRace& operator=(const StandaloneRace&) = delete;

  Track track;
  Car car;
  CarState player;
  Race race;
};
