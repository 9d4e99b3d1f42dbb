// The replay of a race of two shows it as it was: each player's car in their own half, from
// their own camera, with their own race's messages.
#include <gtest/gtest.h>

#include "game/players.h"
#include "race/race_fixture.h"
#include "replay/replay_screen.h"

namespace {

using race_testing::Grey;
using ReplayOfTwoTest = race_testing::RaceSceneTest;

TEST_F(ReplayOfTwoTest, AReplayOfARaceOfTwoShowsEachPlayersRaceInTheirHalf) {
  Players[1].input = PlayerInput::Keyboard;
  Players[1].carIndex = 2;
  startRace(0, 0);
  const auto report = testing_support::DriveRaceOfTwo(calendar);
  ASSERT_EQ(std::tuple(report.one.state, report.two.state),
            std::tuple(Race::Finished, Race::Finished));
  KeyState[0x56] = true;  // V
  RaceScreenInput(WatchRaceJustDriven);
  Players[1].input = PlayerInput::None;
  Players[1].carIndex = 0;
  ASSERT_EQ(ScreenState, screen::Replay);

  // Frames into the race (where both cars are still driving), each half has its race's time
  // and laps at its top, and a dark line parts the halves.
  for (int frame = 0; frame < 60; ++frame) DrawReplayScreen();
  glFinish();
  pixels = framebuffer();
  for (int y0 : {0, 300}) EXPECT_GT(count(Grey, 0, y0 + 200, 800, y0 + 298), 100) << y0;
  for (int x = 0; x < 800; ++x)
    ASSERT_TRUE(at(x, 299)[0] + at(x, 300)[0] + at(x, 299)[1] + at(x, 300)[1] == 0) << x;
  // Each half from its own car: player two's starts beside player one's, so the halves differ.
  EXPECT_NE(CurrentReplay.pose(1).z, CurrentReplay.pose(0).z);
}

}  // namespace
