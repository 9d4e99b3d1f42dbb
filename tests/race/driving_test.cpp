// The race keys and the car's motion: pushes, steady speed, decay, brake, steering, nitro and
// the torque gate.
#include <gtest/gtest.h>

#include <cmath>

#include "race_fixture.h"

namespace {

constexpr int KeyN = 0x4E;

class DrivingTest : public race_testing::LocalRaceTest {
 protected:
  double speed() const { return std::hypot(player.velocity.x, player.velocity.z); }
};

TEST_F(DrivingTest, UpBuildsSpeedTowardsASteadyValueAndReleaseDecaysIt) {
  KeyState[VK_UP] = true;
  race.handleInput();
  frames(1);
  EXPECT_NEAR(player.position.x, -2.3f + 0.0002f, 1e-6f);  // one frame's push, along +x
  double previous = speed();
  for (int i = 0; i < 3000; ++i) {
    frames(1);
    ASSERT_TRUE(i < 1000 ? speed() > previous : speed() >= previous) << "frame " << i;
    previous = speed();
  }
  // The push settles at 4 x acceleration, the speed at 0.992 x (speed + push): 496 x.
  EXPECT_NEAR(previous, 496 * 0.0002, 0.0005);
  EXPECT_NEAR(player.position.z, 0.0f, 0.5f);
  KeyState[VK_UP] = false;
  frames(60);  // the push dies away
  for (int i = 0; i < 20; ++i) {
    const double before = speed();
    frames(1);
    EXPECT_NEAR(speed() / before, 0.992, 1e-5);
  }
}

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

TEST_F(DrivingTest, UntouchedCarStaysPutSteeringTurnsAndSettlesAndHeightNeverChanges) {
  frames(200);
  EXPECT_TRUE(player.position.x == -2.3f && player.position.z == 0.0f &&
              player.rotation.y == -90.0f);
  KeyState[VK_LEFT] = true;
  frames(30);
  EXPECT_GT(player.rotation.y, -90.0f);  // Left raises the heading and leans the car
  EXPECT_GT(player.rotation.z, 0.0f);
  KeyState[VK_LEFT] = false;
  frames(40);
  const float heading = player.rotation.y;
  frames(400);
  EXPECT_NEAR(player.rotation.y, heading, 1e-3f);  // the heading stays, the roll settles
  EXPECT_NEAR(player.rotation.z, 0.0f, 1e-3f);
  KeyState[VK_UP] = KeyState[VK_LEFT] = KeyState[VK_DOWN] = true;
  for (int i = 0; i < 500; ++i) {
    KeyState[KeyN] = i % 50 == 0;
    frames(1);
    ASSERT_TRUE(player.position.y == 0.05f && player.velocity.y == 0.0f) << "frame " << i;
  }
}

TEST_F(DrivingTest, SixNitroPressesGiveFiveBoosts) {
  int boosts = 0;
  for (int press = 0; press < 6; ++press) {
    player.force = player.torque = Vector3f(0, 0, 0);
    KeyState[KeyN] = true;
    race.handleInput();
    EXPECT_FALSE(KeyState[KeyN]);
    const bool boosted = player.torque.x == 4.55f;
    EXPECT_NEAR(player.force.x, boosted ? -0.0002 * 120 : 0.0, 1e-6);
    boosts += boosted;
    race.handleInput();  // no new key-down: nothing more
  }
  EXPECT_EQ(boosts, 5);
  EXPECT_EQ(player.nitro, 0);
}

TEST_F(DrivingTest, TorqueReachesTheTurningOnlyBelowOneDegreePerFrame) {
  player.angularVelocity = Vector3f(0, 0.6, 0.8);  // length 1.0: gate closed
  player.torque = Vector3f(0, 0.4, 0);
  race.updateVelocity();
  EXPECT_FLOAT_EQ(player.angularVelocity.y, 0.6f);
  EXPECT_FLOAT_EQ(player.torque.y, 0.3f);  // still decays
  player.angularVelocity = Vector3f(0, 0.6, 0.79);
  race.updateVelocity();
  EXPECT_FLOAT_EQ(player.angularVelocity.y, 0.9f);
  EXPECT_FLOAT_EQ(player.torque.y, 0.225f);
}

}  // namespace
