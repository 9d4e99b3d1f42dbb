// Whole races played by the autopilot through the keys: every car on every track to the
// finish, and one deliberate crash per car.
#include <gtest/gtest.h>

#include "race_fixture.h"

namespace {

using race_testing::RaceTest;
using testing_support::DriveRace;
using testing_support::DrivingPlan;

class AutopilotTest : public RaceTest {};

TEST_F(AutopilotTest, EveryCarFinishesEveryTrack) {
  for (int track = 0; track < 3; ++track) {
    for (int car = 0; car < 3; ++car) {
      SCOPED_TRACE(testing::Message() << "track " << track << ", car " << car);
      startRace(car, track);
      const auto report = DriveRace(calendar, DrivingPlan::FollowRoad);
      EXPECT_EQ(report.state, Race::Finished);
      EXPECT_EQ(report.laps, TrackTable[track].laps);
      EXPECT_GT(report.health, 0.0f);
    }
  }
}

}  // namespace

TEST_F(AutopilotTest, SteeringIntoTheWallWrecksEachCarAtItsHitCount) {
  // 8.0, 4.5 and 18.0 health at 0.23 a hit: the 35th, 20th and 79th hits go below zero.
  const int hitsToCrash[3] = {35, 20, 79};
  for (int car = 0; car < 3; ++car) {
    SCOPED_TRACE(testing::Message() << "car " << car);
    startRace(car, car);
    const auto report = DriveRace(calendar, DrivingPlan::IntoWall);
    EXPECT_EQ(report.state, Race::Crashed);
    EXPECT_EQ(report.borderHits, hitsToCrash[car]);
    EXPECT_LT(report.health, 0.0f);
    EXPECT_GT(report.health, -0.23f);
    EXPECT_LT(report.laps, TrackTable[car].laps);
  }
}

TEST_F(AutopilotTest, TheNextRaceAfterACrashStartsWithFullHealth) {
  startRace(1, 0);
  ASSERT_EQ(DriveRace(calendar, DrivingPlan::IntoWall).state, Race::Crashed);
  startRace(1, 0);
  EXPECT_EQ(CarRoster[1].health, 4.5f);
  const auto report = DriveRace(calendar, DrivingPlan::FollowRoad);
  EXPECT_EQ(report.state, Race::Finished);
  EXPECT_EQ(report.laps, 2);
}
