// A race of its own for tests that need no GL context: a track, a car and a car state that
// the test controls, wired into a Race that is already running.
#pragma once

#include "menu/game_setup.h"
#include "race/race.h"
#include "track/track.h"

namespace race_testing {

struct LocalRace {
  Track track;
  Car car;
  CarState player;
  Race race;

  LocalRace() {
    player.car = &car;
    player.position = Vector3f(-2.3, 0.05, 0.0);
    player.rotation = Vector3f(0.0, -90.0, 0.0);
    race.player = &player;
    race.track = &track;
    race.state = Race::Running;
  }
  // A straight centre line along +x, one unit between points: (0, 0, 0), (1, 0, 0), ...
  void straightLine(int points) {
    track.curve.points.clear();
    for (int i = 0; i < points; ++i) track.curve.points.emplace_back(i, 0.0, 0.0);
  }
  // One frame of the main loop without drawing: the motion steps, then the keys.
  void frame() {
    race.updateVelocity();
    race.move();
    race.handleInput();
  }
};

}  // namespace race_testing
