// The three track tests: nearest point, lap counting and the border with its damage.
#include <gtest/gtest.h>

#include <cmath>

#include "local_race.h"
#include "support/autopilot.h"
#include "track/track_definitions.h"

namespace {

using race_testing::LocalRace;

class TrackTestsTest : public ::testing::Test {
 protected:
  LocalRace local;
  Race& race = local.race;
  CarState& car = local.player;
};

TEST_F(TrackTestsTest, NearestPointIsStrictTiesGoLowAndNothingNearerKeepsTheIndex) {
  local.track.curve.points = {{5, 0, 0}, {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}};
  car.position = Vector3f(0, 0, 0);
  race.findNearestPoint();
  EXPECT_EQ(race.nearestIndex, 1);

  race.nearestIndex = 3;
  car.position = Vector3f(200000, 0, 0);  // farther than 99999.9 from every point
  race.findNearestPoint();
  EXPECT_EQ(race.nearestIndex, 3);
}

TEST_F(TrackTestsTest, TheRoadEndsExactlyAtHalfWidthLessSevenHundredths) {
  local.straightLine(10);
  // The largest float distance still within halfWidth - 0.07.
  const double limit = local.track.halfWidth - 0.07;
  float onRoad = static_cast<float>(limit);
  while (onRoad > limit) onRoad = std::nextafter(onRoad, 0.0f);
  const float offRoad = std::nextafter(onRoad, 1.0f);

  car.position = Vector3f(3, 0, onRoad);
  car.velocity = Vector3f(-0.1, 0, 0);
  race.nearestIndex = 3;
  race.checkBorder();
  EXPECT_EQ(car.car->health, 8.0f);
  EXPECT_EQ(car.position.z, onRoad);
  EXPECT_EQ(car.velocity.x, -0.1f);

  car.position = Vector3f(3, 0, offRoad);
  race.checkBorder();
  EXPECT_FLOAT_EQ(car.car->health, 8.0f - 0.23f);
  EXPECT_FLOAT_EQ(car.position.z, offRoad * 0.9f);  // a tenth back towards the line
  EXPECT_EQ(car.position.y, 0.0f);
  EXPECT_FLOAT_EQ(car.velocity.x, -0.05f);
  // Next point is one along x: atan(0 - 1) radians, a fifth of it, added to the degrees.
  EXPECT_FLOAT_EQ(car.rotation.y, static_cast<float>(-90.0 + 0.2 * std::atan(-1.0)));
  EXPECT_EQ(race.state, Race::Running);
}

TEST_F(TrackTestsTest, EachRosterHealthCrashesAtItsHit) {
  local.straightLine(10);
  for (auto [health, crashingHit] : {std::pair{8.0f, 35}, {4.5f, 20}, {18.0f, 79}}) {
    SCOPED_TRACE(health);
    local.car.health = health;
    race.state = Race::Running;
    int hit = 0;
    while (race.state == Race::Running && hit < 200) {
      car.position = Vector3f(3, 0.05, 2.0);
      race.nearestIndex = 3;
      race.checkBorder();
      ++hit;
    }
    EXPECT_EQ(race.state, Race::Crashed);
    EXPECT_EQ(hit, crashingHit);
  }
}

class LapTest : public TrackTestsTest {
 protected:
  void SetUp() override { local.straightLine(481); }  // windows 161-200 and 281-320
  void passThrough(std::initializer_list<int> indices) {
    for (int i : indices) {
      race.nearestIndex = i;
      race.countLaps();
    }
  }
};

TEST_F(LapTest, ALapNeedsBothWindowsInOrderWithStrictBounds) {
  passThrough({479, 0, 40, 79});  // the first pass after the start counts nothing
  EXPECT_EQ(car.laps, 0);
  passThrough({160, 321, 280, 80});  // just outside every window
  EXPECT_FALSE(car.checkpoint1);
  EXPECT_FALSE(car.checkpoint2);
  passThrough({300, 161});  // second window before the first: only the first counts
  EXPECT_TRUE(car.checkpoint1);
  EXPECT_FALSE(car.checkpoint2);
  passThrough({80});
  EXPECT_EQ(car.laps, 0);
  passThrough({320, 79});
  EXPECT_EQ(car.laps, 1);
  EXPECT_FALSE(car.checkpoint1);
  EXPECT_FALSE(car.checkpoint2);
  EXPECT_EQ(race.state, Race::Running);
}

TEST_F(LapTest, CuttingPastTheFirstWindowCountsNoLap) {
  passThrough({100, 150, 210, 250, 300, 400, 10});
  EXPECT_EQ(car.laps, 0);
  EXPECT_TRUE(car.checkpoint1 == false && car.checkpoint2 == false);
}

TEST_F(LapTest, DrivingTheWrongWayCountsALapEverySecondCircuit) {
  int lapsAfterCircuit[4];
  for (int circuit = 0; circuit < 4; ++circuit) {
    for (int i = 479; i >= 0; --i) passThrough({i});
    lapsAfterCircuit[circuit] = car.laps;
    if (race.state != Race::Running) break;
  }
  EXPECT_EQ(lapsAfterCircuit[0], 0);
  EXPECT_EQ(lapsAfterCircuit[1], 1);
  EXPECT_EQ(lapsAfterCircuit[2], 1);
  EXPECT_EQ(lapsAfterCircuit[3], 2);
  EXPECT_EQ(race.state, Race::Finished);
}

TEST_F(LapTest, TheLastLapFinishesWithAFreshClockReading) {
  testing_support::ManualCalendar calendar(5000);
  race.now = 4000;  // the finish time is read anew, not taken from the frame
  car.laps = 1;
  passThrough({170, 300});
  EXPECT_EQ(race.state, Race::Running);
  passThrough({50});
  EXPECT_EQ(race.state, Race::Finished);
  EXPECT_EQ(race.finishTime, 5000);
}

TEST_F(TrackTestsTest, LastLapAndCrashInOneFrameEndCrashed) {
  local.track.curve = BuiltInTrackCurve(0);
  car.laps = 1;
  car.checkpoint1 = car.checkpoint2 = true;
  local.car.health = 0.1f;
  const Vector3d& p = local.track.curve.points[20];
  car.position = Vector3f(p.x, 0.05, p.z + 1.0);  // off the road beside the start straight
  race.simulate();
  ASSERT_LT(race.nearestIndex, 80);
  EXPECT_EQ(car.laps, 2);
  EXPECT_EQ(race.state, Race::Crashed);
}

TEST_F(TrackTestsTest, ShortOrStaleCentreLinesAreNeverReadOutOfRange) {
  for (int points : {0, 1}) {
    local.straightLine(points);
    race.nearestIndex = 7;
    car.position = Vector3f(0, 0.05, 3.0);
    race.simulate();
    EXPECT_EQ(race.nearestIndex, 7);
    EXPECT_EQ(local.car.health, 8.0f);
    EXPECT_EQ(race.state, Race::Running);
  }
  // An open line whose nearest point is its last: the point after it wraps to point 1.
  local.straightLine(5);
  car.position = Vector3f(4, 0, 2.0);
  race.findNearestPoint();
  ASSERT_EQ(race.nearestIndex, 4);
  race.checkBorder();
  EXPECT_FLOAT_EQ(local.car.health, 8.0f - 0.23f);
  // An index left from a longer track is not read.
  race.nearestIndex = 300;
  race.checkBorder();
  EXPECT_FLOAT_EQ(local.car.health, 8.0f - 0.23f);
}

}  // namespace
