// The race keys and the car's motion: pushes, steady speed, decay, brake, nitro, the gate.
#include <gtest/gtest.h>

#include <cmath>

#include "local_race.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"

namespace {

using race_testing::LocalRace;

constexpr int KeyN = 0x4E;

double Speed(const CarState& car) {
  return std::hypot(car.velocity.x, car.velocity.z);
}

class DrivingTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearKeyState(); }
  void TearDown() override { ClearKeyState(); }
  LocalRace local;
  CarState& car = local.player;
};

TEST_F(DrivingTest, UntouchedCarStaysPutAndNoKeyChangesItsHeight) {
  for (int i = 0; i < 200; ++i) local.frame();
  EXPECT_EQ(car.position.x, -2.3f);
  EXPECT_EQ(car.position.z, 0.0f);
  EXPECT_EQ(car.rotation.y, -90.0f);

  KeyState[VK_UP] = KeyState[VK_LEFT] = KeyState[VK_DOWN] = true;
  for (int i = 0; i < 500; ++i) {
    if (i % 50 == 0) KeyState[KeyN] = true;
    local.frame();
    ASSERT_EQ(car.position.y, 0.05f);
    ASSERT_EQ(car.velocity.y, 0.0f);
  }
}

TEST_F(DrivingTest, UpBuildsSpeedTowardsASteadyValueAndReleaseDecaysIt) {
  KeyState[VK_UP] = true;
  local.race.handleInput();
  local.frame();
  // The first step moves the car by one frame's push.
  EXPECT_NEAR(car.position.x, -2.3f + 0.0002f, 1e-6f);
  double previous = Speed(car);
  for (int i = 0; i < 3000; ++i) {
    local.frame();
    const double speed = Speed(car);
    if (i < 1000) {
      ASSERT_GT(speed, previous) << "frame " << i;
    }
    ASSERT_GE(speed, previous) << "frame " << i;
    previous = speed;
  }
  // Push settles at 4 x acceleration; speed at 0.992 x (speed + push): 496 x acceleration.
  EXPECT_NEAR(previous, 496 * 0.0002, 0.0005);
  // The car travels along +x at heading -90.
  EXPECT_GT(car.position.x, 100.0f);
  EXPECT_NEAR(car.position.z, 0.0f, 0.5f);

  KeyState[VK_UP] = false;
  for (int i = 0; i < 60; ++i) local.frame();  // the push dies away
  for (int i = 0; i < 20; ++i) {
    const double before = Speed(car);
    local.frame();
    EXPECT_NEAR(Speed(car) / before, 0.992, 1e-5);
  }
}

TEST_F(DrivingTest, BrakeSlowsOnlyHorizontallyAndNeverReverses) {
  car.velocity = Vector3f(-0.1, 0.02, 0.004);
  KeyState[VK_DOWN] = true;
  local.race.handleInput();
  EXPECT_FLOAT_EQ(car.velocity.y, 0.02f);
  car.velocity = Vector3f(-0.1, 0, 0);
  float x = car.position.x;
  for (int i = 0; i < 1000; ++i) {
    local.frame();
    ASSERT_GE(car.position.x, x) << "moved backwards at frame " << i;
    x = car.position.x;
  }
  EXPECT_LT(Speed(car), 1e-9);
  // At rest the brake only tilts the view.
  EXPECT_NE(car.rotation.x, 0.0f);
}

TEST_F(DrivingTest, SteeringTurnsLeansAndSettles) {
  KeyState[VK_LEFT] = true;
  for (int i = 0; i < 30; ++i) local.frame();
  EXPECT_GT(car.rotation.y, -90.0f);  // Left raises the heading
  EXPECT_GT(car.rotation.z, 0.0f);    // and leans the car
  KeyState[VK_LEFT] = false;
  for (int i = 0; i < 40; ++i) local.frame();
  const float heading = car.rotation.y;
  for (int i = 0; i < 400; ++i) local.frame();
  EXPECT_NEAR(car.rotation.y, heading, 1e-3f);  // heading keeps its value
  EXPECT_NEAR(car.rotation.z, 0.0f, 1e-3f);     // roll settles back

  KeyState[VK_RIGHT] = true;
  for (int i = 0; i < 30; ++i) local.frame();
  EXPECT_LT(car.rotation.y, heading);
}

TEST_F(DrivingTest, SixNitroPressesGiveFiveBoosts) {
  int boosts = 0;
  for (int press = 0; press < 6; ++press) {
    car.force = Vector3f(0, 0, 0);
    car.torque = Vector3f(0, 0, 0);
    KeyState[KeyN] = true;
    local.race.handleInput();
    EXPECT_FALSE(KeyState[KeyN]);
    if (car.torque.x == 4.55f) {
      ++boosts;
      EXPECT_NEAR(car.force.x, -0.0002 * 120, 1e-6);
    } else {
      EXPECT_EQ(car.force.x, 0.0f);
    }
    // Held without a new key-down, N gives nothing more.
    local.race.handleInput();
  }
  EXPECT_EQ(boosts, 5);
  EXPECT_EQ(car.nitro, 0);
}

TEST_F(DrivingTest, ViewKeysSwitchAtOnceInAnyState) {
  for (int16_t state : {Race::Ready, Race::Running, Race::Crashed, Race::Finished}) {
    local.race.state = state;
    KeyState[0x32] = true;
    local.race.handleInput();
    EXPECT_EQ(local.race.view, Race::ChaseView);
    EXPECT_FALSE(KeyState[0x32]);
    KeyState[0x31] = true;
    local.race.handleInput();
    EXPECT_EQ(local.race.view, Race::DriverView);
    EXPECT_FALSE(KeyState[0x31]);
  }
}

TEST_F(DrivingTest, TorqueReachesTheTurningOnlyBelowOneDegreePerFrame) {
  car.angularVelocity = Vector3f(0, 0.6, 0.8);  // length 1.0: gate closed
  car.torque = Vector3f(0, 0.4, 0);
  local.race.updateVelocity();
  EXPECT_FLOAT_EQ(car.angularVelocity.y, 0.6f);
  EXPECT_FLOAT_EQ(car.torque.y, 0.3f);  // still decays

  car.angularVelocity = Vector3f(0, 0.6, 0.79);
  local.race.updateVelocity();
  EXPECT_FLOAT_EQ(car.angularVelocity.y, 0.9f);
  EXPECT_FLOAT_EQ(car.torque.y, 0.225f);
}

}  // namespace
