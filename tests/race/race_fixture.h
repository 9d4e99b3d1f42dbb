// Shared set-up of the race tests: LocalRaceTest, a GL-free race on a track the test controls,
// and RaceTest, the game started in a headless context, a manual calendar and the race start.
#pragma once

#include <cmath>

#include "app/game_window.h"
#include "game/game_setup.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_start.h"
#include "support/autopilot.h"
#include "support/box_recorder.h"
#include "support/gl_fixture.h"
#include "support/scratch_folder.h"
#include "track/track.h"

namespace race_testing {

// A running race without drawing, on a track of the test's own, with the player at the start
// position and every key released.
class LocalRaceTest : public ::testing::Test {
 protected:
  LocalRaceTest() {
    player.car = &car;
    player.position = Vector3f(-2.3, 0.05, 0.0);
    player.rotation = Vector3f(0.0, -90.0, 0.0);
    race.player = &player;
    race.track = &track;
    race.state = Race::Running;
    ClearKeyState();
  }
  ~LocalRaceTest() override { ClearKeyState(); }
  // A straight centre line along +x, one unit between points: (0, 0, 0), (1, 0, 0), ...
  void straightLine(int points) {
    track.curve.points.clear();
    for (int i = 0; i < points; ++i) track.curve.points.emplace_back(i, 0.0, 0.0);
  }
  double speed() const { return std::hypot(player.velocity.x, player.velocity.z); }
  // The lap count as the car passes these centre-line points.
  void passThrough(std::initializer_list<int> indices) {
    for (int i : indices) {
      race.nearestIndex = i;
      race.countLaps();
    }
  }
  // Frames of the main loop without drawing: the motion, then the keys.
  void frames(int count) {
    for (int i = 0; i < count; ++i) {
      race.updateVelocity();
      race.move();
      race.handleInput();
    }
  }

  Track track;
  Car car;
  CarState player;
  Race race;
};

class RaceTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    InitScene();  // the game window's start: GameSetup, the fixed GL state and the font
    ClearKeyState();
    ScreenState = 2;
  }
  void TearDown() override { ClearKeyState(); }
  // Pictures missing from the working folder would each raise a box.
  testing_support::BoxRecorder boxes_;
  testing_support::ScratchFolder scratch_;

  // Chooses roster car `car` and track `track` and presses Enter on the track selection.
  void startRace(int car, int track) {
    SelectedCarIndex = static_cast<int16_t>(car);
    SelectedCar = &CarRoster[car];
    SelectedTrackIndex = static_cast<int16_t>(track);
    SelectedTrack = &TrackTable[track];
    StartSelectedRace();
  }

  testing_support::ManualCalendar calendar;
};

}  // namespace race_testing
