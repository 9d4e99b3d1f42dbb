// Races started as the menus start them: the start sequence, the countdown on whole seconds,
// leaving and restarting, and whole races played through the keys and the best times they leave
// (every car on every track, to the finish and into the wall, is driven by the pinned races).
#include <gtest/gtest.h>

#include "game/action_input.h"
#include "platform/key_names.h"
#include "race_fixture.h"
#include "records/best_times.h"

namespace {

using race_testing::RaceTest;
using testing_support::DrivingPlan;

TEST_F(RaceTest, EachStartPutsAFreshCarStateAtTheFront) {
  startRace(0, 0);
  const size_t before = Races[0].cars.size();
  // Leave the first race changed, then start another with another car on another track (the
  // start's place, health and kept view are pinned by the built-in races, run one after another).
  CarState& old = *Races[0].player;
  old.nitro = old.laps = 1;
  old.checkpoint1 = true;
  old.velocity = Vector3f(0.1, 0, 0.2);
  Races[0].view = Race::ChaseView;
  Races[0].state = Race::Crashed;
  for (int car = 0; car < 3; ++car) CarRoster[car].health = -1.0f;

  startRace(2, 1);
  ASSERT_EQ(Races[0].cars.size(), before + 1);
  EXPECT_EQ(Races[0].player, &Races[0].cars.front());
  const CarState& fresh = *Races[0].player;
  EXPECT_EQ(fresh.car, &CarRoster[2]);
  EXPECT_EQ(std::tuple(fresh.velocity.x, fresh.velocity.z), std::tuple(0.0f, 0.0f));
  EXPECT_EQ(std::tuple(Races[0].cars[1].nitro, Races[0].cars[1].car), std::tuple(1, &CarRoster[0]));
  Races[0].view = Race::DriverView;
}

// (Up held through the countdown, as the built-in races driven into the wall hold it, is pinned
// there: the car stays put, then moves with all of it in the first running frame.)
TEST_F(RaceTest, CountdownRunsOnWholeSeconds) {
  startRace(0, 0);
  const char* labels[] = {"READY", "3", "2", "1", "GO"};
  for (int elapsed = 0; elapsed < 5; ++elapsed) {
    for (int frame = 0; frame < 3; ++frame) {
      Races[0].step();
      EXPECT_EQ(Races[0].state, Race::Ready);
      EXPECT_EQ(Races[0].label, labels[elapsed]) << "at " << elapsed << " s";
    }
    calendar.advance();
  }
  Races[0].step();
  EXPECT_EQ(Races[0].state, Race::Running);
  EXPECT_EQ(Races[0].runStart, calendar.now());

  // Frames may be far apart: the countdown only looks at the elapsed time.
  startRace(0, 0);
  calendar.advance(7);
  Races[0].step();
  EXPECT_EQ(Races[0].state, Race::Running);
  EXPECT_EQ(Races[0].label, "GO");
  EXPECT_EQ(Races[0].runStart, calendar.now());
}

TEST_F(RaceTest, EscapeLeavesFromEveryStateAndChangesNothingElse) {
  for (int16_t state : {Race::Ready, Race::Running, Race::Crashed, Race::Finished}) {
    ScreenState = screen::Race;
    Races[0].state = state;
    KeyState[VK_ESCAPE] = true;
    RaceScreenInput();
    EXPECT_EQ(ScreenState, screen::MainMenu);
    EXPECT_FALSE(KeyState[VK_ESCAPE]);
    EXPECT_EQ(Races[0].state, state);
  }
}

TEST_F(RaceTest, FinishedRacesLeaveTheBestTimeAndACrashLeavesNothing) {
  const std::string track = TrackTable[0].name, car = CarRoster[0].name;
  startRace(0, 0);
  const auto first = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
  ASSERT_EQ(first.state, Race::Finished);
  EXPECT_TRUE(Races[0].newBestTime);
  EXPECT_EQ(Races[0].bestTime, first.raceTime);
  // The same driving on a clock that runs twice as fast takes longer: no new best.
  startRace(0, 0);
  EXPECT_FALSE(Races[0].bestTime || Races[0].newBestTime);
  const auto second = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 30000, 30);
  ASSERT_GT(second.raceTime, first.raceTime);
  EXPECT_FALSE(Races[0].newBestTime);
  EXPECT_EQ(Races[0].bestTime, first.raceTime);
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
    Races[0].step();
    Races[0].handleInput();
  }
  EXPECT_EQ(Races[0].state, Race::Running);
  EXPECT_EQ(Races[0].player->position.x, -2.3f);
  EXPECT_EQ(Races[0].player->rotation.y, -90.0f);
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
      const size_t cars = Races[0].cars.size();
      calendar.advance(9);
      Races[0].step();
      Races[0].state = state;
      Races[0].player->position.x = 5.0f;
      Races[0].player->laps = 2;
      Races[0].player->nitro = 0;
      ScreenState = screen::Race;
      KeyState[key] = true;
      RaceScreenInput();
      EXPECT_FALSE(KeyState[key]);
      EXPECT_EQ(ScreenState, 3);
      EXPECT_EQ(Races[0].state, Race::Ready);
      EXPECT_EQ(Races[0].label, "READY");
      EXPECT_EQ(Races[0].startTime, calendar.now());
      ASSERT_EQ(Races[0].cars.size(), cars + 1);
      const CarState& fresh = *Races[0].player;
      EXPECT_EQ(std::tuple(fresh.car, Races[0].track), std::tuple(&CarRoster[2], &TrackTable[1]));
      EXPECT_EQ(std::tuple(fresh.position.x, fresh.laps, fresh.nitro), std::tuple(-2.3f, 0, 5));
    }
  }
  // Escape pressed with R leaves the race; nothing was recorded.
  KeyState['R'] = KeyState[VK_ESCAPE] = true;
  RaceScreenInput();
  EXPECT_EQ(ScreenState, 0);
  EXPECT_TRUE(BestTimes().table().races().empty());
}

}  // namespace
