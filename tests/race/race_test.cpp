// Races started as the menus start them: the start sequence, the countdown on whole seconds,
// leaving, and whole races played by the autopilot through the keys (every car to the finish on
// every track, and one deliberate crash per car), and the best times they leave.
#include <gtest/gtest.h>

#include "game/controls.h"
#include "platform/key_names.h"
#include "race_fixture.h"
#include "records/best_times.h"

namespace {

using race_testing::RaceTest;
using testing_support::DrivingPlan;

TEST_F(RaceTest, EachStartPutsAFreshCarStateAtTheFront) {
  startRace(0, 0);
  const size_t before = CurrentRace.cars.size();
  // Leave the first race changed, then start another with another car on another track.
  CarState& old = *CurrentRace.player;
  old.nitro = old.laps = 1;
  old.checkpoint1 = true;
  old.velocity = Vector3f(0.1, 0, 0.2);
  CurrentRace.view = Race::ChaseView;
  CurrentRace.state = Race::Crashed;
  for (int car = 0; car < 3; ++car) CarRoster[car].health = -1.0f;

  startRace(2, 1);
  ASSERT_EQ(CurrentRace.cars.size(), before + 1);
  EXPECT_EQ(CurrentRace.player, &CurrentRace.cars.front());
  const CarState& fresh = *CurrentRace.player;
  EXPECT_EQ(fresh.car, &CarRoster[2]);
  EXPECT_TRUE(fresh.velocity.x == 0.0f && fresh.velocity.z == 0.0f);
  EXPECT_TRUE(fresh.position.x == -2.3f && fresh.position.y == 0.05f && fresh.position.z == 0);
  EXPECT_EQ(fresh.rotation.y, -90.0f);
  EXPECT_TRUE(CurrentRace.cars[1].nitro == 1 && CurrentRace.cars[1].car == &CarRoster[0]);
  const float fullHealth[] = {8.0f, 4.5f, 18.0f};
  for (int car = 0; car < 3; ++car) EXPECT_EQ(CarRoster[car].health, fullHealth[car]);
  EXPECT_EQ(CurrentRace.view, Race::ChaseView);  // kept across races
  CurrentRace.view = Race::DriverView;
  EXPECT_EQ(CurrentRace.label, "READY");
  // The start lies on the last stretch before point 0.
  EXPECT_GT(CurrentRace.nearestIndex, static_cast<int>(TrackTable[1].curve.points.size()) - 40);
}

TEST_F(RaceTest, CountdownRunsOnWholeSecondsAndTheCarMovesInTheFirstRunningFrame) {
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
  EXPECT_NEAR(piledUp, -15 * 0.0002f, 1e-6f);
  CurrentRace.step();
  EXPECT_EQ(CurrentRace.state, Race::Running);
  EXPECT_EQ(CurrentRace.runStart, calendar.now());
  EXPECT_NEAR(CurrentRace.player->position.x, -2.3f - piledUp, 1e-6f);  // all of it, at once
  EXPECT_NEAR(CurrentRace.player->force.x, 0.75f * piledUp, 1e-7f);

  // Frames may be far apart: the countdown only looks at the elapsed time.
  startRace(0, 0);
  calendar.advance(7);
  CurrentRace.step();
  EXPECT_EQ(CurrentRace.state, Race::Running);
  EXPECT_EQ(CurrentRace.label, "GO");
  EXPECT_EQ(CurrentRace.runStart, calendar.now());
}

TEST_F(RaceTest, EscapeLeavesFromEveryStateAndChangesNothingElse) {
  for (int16_t state : {Race::Ready, Race::Running, Race::Crashed, Race::Finished}) {
    ScreenState = 3;
    CurrentRace.state = state;
    KeyState[VK_ESCAPE] = true;
    CurrentRace.handleInput();
    EXPECT_TRUE(ScreenState == 0 && !KeyState[VK_ESCAPE] && CurrentRace.state == state);
  }
}

TEST_F(RaceTest, EveryCarFinishesEveryTrack) {
  for (int track = 0; track < 3; ++track) {
    for (int car = 0; car < 3; ++car) {
      SCOPED_TRACE(testing::Message() << "track " << track << ", car " << car);
      startRace(car, track);
      const auto report = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
      EXPECT_EQ(report.state, Race::Finished);
      EXPECT_EQ(report.laps, TrackTable[track].laps);
      EXPECT_GT(report.health, 0.0f);
    }
  }
}

TEST_F(RaceTest, SteeringIntoTheWallWrecksEachCarAtItsHitCount) {
  // 8.0, 4.5 and 18.0 health at 0.23 a hit: the 35th, 20th and 79th hits go below zero.
  const int hitsToCrash[3] = {35, 20, 79};
  for (int car = 0; car < 3; ++car) {
    SCOPED_TRACE(testing::Message() << "car " << car);
    startRace(car, car);
    const auto report = testing_support::DriveRace(calendar, DrivingPlan::IntoWall);
    EXPECT_EQ(report.state, Race::Crashed);
    EXPECT_EQ(report.borderHits, hitsToCrash[car]);
  }
}

TEST_F(RaceTest, FinishedRacesLeaveTheBestTimeAndACrashLeavesNothing) {
  const std::string track = TrackTable[0].name, car = CarRoster[0].name;
  startRace(0, 0);
  const auto first = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
  ASSERT_EQ(first.state, Race::Finished);
  EXPECT_TRUE(CurrentRace.newBestTime);
  EXPECT_EQ(CurrentRace.bestTime, first.raceTime);
  // The same driving on a clock that runs twice as fast takes longer: no new best.
  startRace(0, 0);
  EXPECT_FALSE(CurrentRace.bestTime || CurrentRace.newBestTime);
  const auto second = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 30000, 30);
  ASSERT_GT(second.raceTime, first.raceTime);
  EXPECT_FALSE(CurrentRace.newBestTime);
  EXPECT_EQ(CurrentRace.bestTime, first.raceTime);
  startRace(0, 0);
  ASSERT_EQ(testing_support::DriveRace(calendar, DrivingPlan::IntoWall).state, Race::Crashed);

  const auto saved = BestTimes().table().races();
  ASSERT_EQ(saved.size(), 2u);
  EXPECT_EQ(saved[0], (RaceRecord{track, car, first.raceTime, saved[0].date}));
  EXPECT_EQ(saved[1].seconds, second.raceTime);
  EXPECT_EQ(GameBestTimes.best(track, car), first.raceTime);
}

TEST_F(RaceTest, ARaceDrivenWithReboundKeysFinishesAndTheOldKeysDoNothing) {
  Controls& controls = GameControls();
  const char* keys[] = {"I", "K", "J", "L"};  // free of player two's keys
  const Action actions[] = {Action::Accelerate, Action::Brake, Action::SteerLeft,
                            Action::SteerRight};
  for (int i = 0; i < 4; ++i)
    ASSERT_EQ(controls.setKey(actions[i], 0, platform::ScancodeFromName(keys[i])), std::nullopt);
  startRace(1, 0);
  KeyState[VK_UP] = KeyState[VK_LEFT] = true;  // no longer bound
  for (int frame = 0; frame < 400; ++frame) {
    if (frame % 60 == 0) calendar.advance();
    CurrentRace.step();
    CurrentRace.handleInput();
  }
  EXPECT_EQ(CurrentRace.state, Race::Running);
  EXPECT_EQ(CurrentRace.player->position.x, -2.3f);
  EXPECT_EQ(CurrentRace.player->rotation.y, -90.0f);
  ClearKeyState();
  const auto report = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 30000, 60, {},
                                                 {'I', 'K', 'J', 'L'});
  controls.reset();
  EXPECT_EQ(report.state, Race::Finished);
  EXPECT_EQ(report.laps, TrackTable[0].laps);
}

TEST_F(RaceTest, RestartFromEveryStateStartsTheSameRaceAgainAndIsNeverAFinish) {
  const int restartKeys[] = {'R', VK_GAMEPAD_VIEW};
  for (int16_t state : {Race::Ready, Race::Running, Race::Crashed, Race::Finished}) {
    for (int key : restartKeys) {
      startRace(2, 1);
      const size_t cars = CurrentRace.cars.size();
      calendar.advance(9);
      CurrentRace.step();
      CurrentRace.state = state;
      CurrentRace.player->position.x = 5.0f;
      CurrentRace.player->laps = 2;
      CurrentRace.player->nitro = 0;
      ScreenState = 3;
      KeyState[key] = true;
      CurrentRace.handleInput();
      EXPECT_FALSE(KeyState[key]);
      EXPECT_EQ(ScreenState, 3);
      EXPECT_EQ(CurrentRace.state, Race::Ready);
      EXPECT_EQ(CurrentRace.label, "READY");
      EXPECT_EQ(CurrentRace.startTime, calendar.now());
      ASSERT_EQ(CurrentRace.cars.size(), cars + 1);
      const CarState& fresh = *CurrentRace.player;
      EXPECT_TRUE(fresh.car == &CarRoster[2] && CurrentRace.track == &TrackTable[1]);
      EXPECT_TRUE(fresh.position.x == -2.3f && fresh.laps == 0 && fresh.nitro == 5);
    }
  }
  // Escape pressed with R leaves the race; nothing was recorded.
  KeyState['R'] = KeyState[VK_ESCAPE] = true;
  CurrentRace.handleInput();
  EXPECT_EQ(ScreenState, 0);
  EXPECT_TRUE(BestTimes().table().races().empty());
}

}  // namespace
