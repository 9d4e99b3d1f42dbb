// The race simulation without drawing: the brake down to rest (the push, decay, steering, height,
// nitro and the torque gate are pinned by the built-in races), then the three track tests
// (nearest point, laps, and the border with its damage).
#include <gtest/gtest.h>

#include <cmath>

#include "race_fixture.h"
#include "track/track_definitions.h"

namespace {

using DrivingTest = race_testing::LocalRaceTest;
using TrackTestsTest = race_testing::LocalRaceTest;

TEST_F(DrivingTest, BrakeSlowsOnlyHorizontallyAndNeverReverses) {
  player.velocity = Vector3f(-0.1, 0.02, 0.004);
  KeyState[VK_DOWN] = true;
  race.handleInput();
  EXPECT_FLOAT_EQ(player.velocity.y, 0.02f);
  player.velocity = Vector3f(-0.1, 0, 0);
  for (int i = 0; i < 1000; ++i) {
    const float x = player.position.x;
    frames(1);
    ASSERT_GE(player.position.x, x) << "moved backwards at frame " << i;
  }
  EXPECT_LT(speed(), 1e-9);
  EXPECT_NE(player.rotation.x, 0.0f);  // at rest the brake only tilts the view
}

TEST_F(TrackTestsTest, NearestPointIsStrictTiesGoLowAndNothingNearerKeepsTheIndex) {
  track.curve.points = {{5, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}};
  player.position = Vector3f(0, 0, 0);
  race.findNearestPoint();
  EXPECT_EQ(race.nearestIndex, 1);
  race.nearestIndex = 3;
  player.position = Vector3f(200000, 0, 0);  // farther than 99999.9 from every point
  race.findNearestPoint();
  EXPECT_EQ(race.nearestIndex, 3);
}

TEST_F(TrackTestsTest, TheRoadEndsExactlyAtHalfWidthLessSevenHundredths) {
  straightLine(10);
  const double limit = track.halfWidth - 0.07;
  float onRoad = static_cast<float>(limit);  // the largest float still within the limit
  while (onRoad > limit) onRoad = std::nextafter(onRoad, 0.0f);
  const float offRoad = std::nextafter(onRoad, 1.0f);

  player.position = Vector3f(3, 0, onRoad);
  player.velocity = Vector3f(-0.1, 0, 0);
  race.nearestIndex = 3;
  race.checkBorder();
  EXPECT_EQ(car.health, 8.0f);
  EXPECT_EQ(player.position.z, onRoad);
  EXPECT_EQ(player.velocity.x, -0.1f);

  // Just past it, a hit (what a hit does to the car is pinned by the built-in races' crashes).
  player.position = Vector3f(3, 0, offRoad);
  race.checkBorder();
  EXPECT_FLOAT_EQ(car.health, 8.0f - 0.23f);
}

TEST_F(TrackTestsTest, ALapNeedsBothWindowsInOrderAndTheFinishReadsTheClockAnew) {
  straightLine(481);                 // windows 161-200 and 281-320
  passThrough({479, 0, 40, 79});     // the first pass after the start counts nothing
  passThrough({160, 321, 280, 80});  // just outside every window
  EXPECT_FALSE(player.checkpoint1 || player.checkpoint2);
  passThrough({300, 161, 80});  // second window before the first: no lap
  EXPECT_TRUE(player.checkpoint1);
  EXPECT_FALSE(player.checkpoint2);
  EXPECT_EQ(player.laps, 0);
  passThrough({320, 79});
  EXPECT_EQ(player.laps, 1);
  EXPECT_FALSE(player.checkpoint1 || player.checkpoint2);

  testing_support::ManualCalendar calendar(5000);
  race.now = 4000;  // the finish time is read anew, not taken from the frame
  passThrough({170, 300});
  EXPECT_EQ(race.state, Race::Running);
  passThrough({50});
  EXPECT_EQ(race.state, Race::Finished);
  EXPECT_EQ(race.finishTime, 5000);
}

TEST_F(TrackTestsTest, DrivingTheWrongWayCountsALapEverySecondCircuit) {
  straightLine(481);
  for (int lapsAfterCircuit : {0, 1, 1, 2}) {
    for (int i = 479; i >= 0; --i) passThrough({i});
    EXPECT_EQ(player.laps, lapsAfterCircuit);
  }
  EXPECT_EQ(race.state, Race::Finished);
}

TEST_F(TrackTestsTest, LastLapAndCrashInOneFrameEndCrashed) {
  track.curve = BuiltInTrackCurve(0);
  player.laps = 1;
  player.checkpoint1 = player.checkpoint2 = true;
  car.health = 0.1f;
  const Vector3d& p = track.curve.points[20];
  player.position = Vector3f(p.x, 0.05, p.z + 1.0);  // off the road beside the start straight
  race.simulate();
  ASSERT_LT(race.nearestIndex, 80);
  EXPECT_EQ(player.laps, 2);
  EXPECT_EQ(race.state, Race::Crashed);
}

TEST_F(TrackTestsTest, ShortOrStaleCentreLinesAreNeverReadOutOfRange) {
  for (int points : {0, 1}) {
    straightLine(points);
    race.nearestIndex = 7;
    player.position = Vector3f(0, 0.05, 3.0);
    race.simulate();
    EXPECT_EQ(race.nearestIndex, 7);
    EXPECT_EQ(car.health, 8.0f);
    EXPECT_EQ(race.state, Race::Running);
  }
  // An open line whose nearest point is its last: the point after it wraps to point 1.
  straightLine(5);
  player.position = Vector3f(4, 0, 2.0);
  race.findNearestPoint();
  ASSERT_EQ(race.nearestIndex, 4);
  race.checkBorder();
  EXPECT_FLOAT_EQ(car.health, 8.0f - 0.23f);
  race.nearestIndex = 300;  // an index left from a longer track is not read
  race.checkBorder();
  EXPECT_FLOAT_EQ(car.health, 8.0f - 0.23f);
}

}  // namespace
