// Shared set-up of the race tests: a current headless context with the game's assets loaded
// once, a manual calendar, released keys, and a helper that starts a race like the menus do.
#pragma once

#include "menu/game_setup.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "race/race.h"
#include "race/race_start.h"
#include "support/autopilot.h"
#include "support/gl_fixture.h"
#include "track/track.h"

namespace race_testing {

class RaceTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    static const bool loaded = [] {
      // Pictures missing from the test's working folder would each raise a box.
      platform::SetMessageBoxHandler([](const std::string&, const std::string&, platform::Buttons,
                                        platform::Icon) { return platform::Answer::Ok; });
      GameSetup();
      platform::SetMessageBoxHandler({});
      return true;
    }();
    (void)loaded;
    ClearKeyState();
    ScreenState = 2;
  }
  void TearDown() override { ClearKeyState(); }

  // Chooses roster car `car` and track `track` and presses Enter on the track selection.
  void startRace(int car, int track) {
    SelectedCarIndex = static_cast<int16_t>(car);
    SelectedCar = &CarRoster[car];
    SelectedTrackIndex = static_cast<int16_t>(track);
    SelectedTrack = &TrackTable[track];
    StartSelectedRace();
  }

  // Runs frame steps (no drawing) until the countdown has ended.
  void runCountdown() {
    for (int second = 0; second < 5; ++second) {
      calendar.advance();
      CurrentRace.step();
    }
  }

  testing_support::ManualCalendar calendar;
};

}  // namespace race_testing
