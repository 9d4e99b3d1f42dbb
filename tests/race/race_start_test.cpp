// The start sequence, the countdown on whole seconds and the states' entry.
#include <gtest/gtest.h>

#include "race_fixture.h"

namespace {

using race_testing::RaceTest;

class RaceStartTest : public RaceTest {};

TEST_F(RaceStartTest, EachStartPutsAFreshCarStateAtTheFront) {
  startRace(0, 0);
  const size_t before = CurrentRace.cars.size();
  // Leave the first race changed, then start another with another car on another track.
  CurrentRace.player->nitro = 1;
  CurrentRace.player->laps = 1;
  CurrentRace.player->checkpoint1 = true;
  CurrentRace.player->velocity = Vector3f(0.1, 0, 0.2);
  CurrentRace.view = Race::ChaseView;
  CurrentRace.state = Race::Crashed;
  for (int car = 0; car < 3; ++car) CarRoster[car].health = -1.0f;
  ScreenState = 2;

  startRace(2, 1);
  ASSERT_EQ(CurrentRace.cars.size(), before + 1);
  EXPECT_EQ(CurrentRace.player, &CurrentRace.cars.front());
  const CarState& fresh = *CurrentRace.player;
  EXPECT_EQ(fresh.car, &CarRoster[2]);
  EXPECT_EQ(fresh.nitro, 5);
  EXPECT_EQ(fresh.laps, 0);
  EXPECT_FALSE(fresh.checkpoint1);
  EXPECT_FALSE(fresh.checkpoint2);
  EXPECT_EQ(fresh.velocity.x, 0.0f);
  EXPECT_EQ(fresh.velocity.z, 0.0f);
  EXPECT_EQ(fresh.position.x, -2.3f);
  EXPECT_EQ(fresh.position.y, 0.05f);
  EXPECT_EQ(fresh.position.z, 0.0f);
  EXPECT_EQ(fresh.rotation.y, -90.0f);
  // The earlier race's state stays behind the new one, unchanged.
  EXPECT_EQ(CurrentRace.cars[1].nitro, 1);
  EXPECT_EQ(CurrentRace.cars[1].car, &CarRoster[0]);

  EXPECT_EQ(ScreenState, 3);
  EXPECT_EQ(CurrentRace.track, &TrackTable[1]);
  EXPECT_NE(TrackTable[1].roadList, 0u);
  EXPECT_EQ(CarRoster[0].health, 8.0f);
  EXPECT_EQ(CarRoster[1].health, 4.5f);
  EXPECT_EQ(CarRoster[2].health, 18.0f);
  EXPECT_EQ(CurrentRace.view, Race::ChaseView);  // kept across races
  CurrentRace.view = Race::DriverView;
  EXPECT_EQ(CurrentRace.state, Race::Ready);
  EXPECT_EQ(CurrentRace.label, "READY");
  EXPECT_EQ(CurrentRace.startTime, calendar.now());
  EXPECT_EQ(CurrentRace.now, calendar.now());
  // The start lies on the last stretch before point 0.
  const int points = static_cast<int>(TrackTable[1].curve.points.size());
  EXPECT_GT(CurrentRace.nearestIndex, points - 40);
}

TEST_F(RaceStartTest, CountdownRunsOnWholeSecondsAndTheCarMovesInTheFirstRunningFrame) {
  startRace(0, 0);
  const char* labels[] = {"READY", "3", "2", "1", "GO"};
  for (int elapsed = 0; elapsed < 5; ++elapsed) {
    for (int frame = 0; frame < 3; ++frame) {
      CurrentRace.step();
      EXPECT_EQ(CurrentRace.state, Race::Ready);
      EXPECT_EQ(CurrentRace.label, labels[elapsed]) << "at " << elapsed << " s";
      // Up held through the countdown piles up with no decay and moves nothing yet.
      KeyState[VK_UP] = true;
      CurrentRace.handleInput();
      EXPECT_EQ(CurrentRace.player->position.x, -2.3f);
    }
    calendar.advance();
  }
  const float piledUp = CurrentRace.player->force.x;
  // Heading -90: the push points along -x and the car travels along +x.
  EXPECT_NEAR(piledUp, -15 * 0.0002f, 1e-6f);
  CurrentRace.step();
  EXPECT_EQ(CurrentRace.state, Race::Running);
  EXPECT_EQ(CurrentRace.runStart, calendar.now());
  // The whole sum reached the car in that very frame.
  EXPECT_NEAR(CurrentRace.player->position.x, -2.3f - piledUp, 1e-6f);
  EXPECT_NEAR(CurrentRace.player->force.x, 0.75f * piledUp, 1e-7f);
}

TEST_F(RaceStartTest, ACountdownStartedLateInASecondSkipsStraightOn) {
  startRace(0, 0);
  calendar.advance(7);  // frames may be far apart: the countdown only looks at elapsed time
  CurrentRace.step();
  EXPECT_EQ(CurrentRace.state, Race::Running);
  EXPECT_EQ(CurrentRace.label, "GO");
  EXPECT_EQ(CurrentRace.runStart, calendar.now());
}

TEST_F(RaceStartTest, EscapeLeavesAtAnyStateAndAnewRaceStartsFromScratch) {
  startRace(1, 2);
  runCountdown();
  ASSERT_EQ(CurrentRace.state, Race::Running);
  KeyState[VK_UP] = true;
  for (int frame = 0; frame < 100; ++frame) {
    CurrentRace.step();
    CurrentRace.handleInput();
  }
  KeyState[VK_UP] = false;
  KeyState[0x4E] = true;  // N
  CurrentRace.handleInput();
  KeyState[VK_ESCAPE] = true;
  CurrentRace.handleInput();
  EXPECT_EQ(ScreenState, 0);
  EXPECT_FALSE(KeyState[VK_ESCAPE]);
  EXPECT_EQ(CurrentRace.state, Race::Running);  // leaving changes nothing but the screen

  for (int16_t leftIn : {Race::Ready, Race::Crashed, Race::Finished}) {
    ScreenState = 3;
    CurrentRace.state = leftIn;
    KeyState[VK_ESCAPE] = true;
    CurrentRace.handleInput();
    EXPECT_EQ(ScreenState, 0);
  }

  startRace(1, 2);
  EXPECT_EQ(CurrentRace.state, Race::Ready);
  EXPECT_EQ(CurrentRace.label, "READY");
  EXPECT_EQ(CurrentRace.player->position.x, -2.3f);
  EXPECT_EQ(CurrentRace.player->laps, 0);
  EXPECT_EQ(CurrentRace.player->nitro, 5);
}

}  // namespace
