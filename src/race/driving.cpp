// Driving a car: the driving keys add pushes, the simulation step turns them into velocities and
// the velocities into position and angles. Everything is per frame.
#include <cmath>

#include "game/action_input.h"
#include "game/game_setup.h"
#include "race/race.h"

namespace {

// The heading in radians as the motion uses it: 1/180 in single precision times 3.14 (not pi),
// so motion and view drift apart slightly as the heading grows.
double HeadingRadians(const CarState& car) {
  return static_cast<double>(car.rotation.y) * static_cast<double>(0.0055555557f) * 3.14;
}

double Length(const Vector3f& v) {
  const double x = v.x, y = v.y, z = v.z;
  return std::sqrt(x * x + y * y + z * z);
}

void Scale(Vector3f& v, double factor) {
  v.x = static_cast<float>(v.x * factor);
  v.y = static_cast<float>(v.y * factor);
  v.z = static_cast<float>(v.z * factor);
}

void Add(Vector3f& v, const Vector3f& w) {
  v.x += w.x;
  v.y += w.y;
  v.z += w.z;
}

}  // namespace

void Race::handleInput() {
  const Controls& controls = GameControls(racer);
  if (player == nullptr || player->car == nullptr) return;
  HeldKeys keys;
  keys.accelerate = ActionHeld(controls, Action::Accelerate);
  keys.right = ActionHeld(controls, Action::SteerRight);
  keys.left = ActionHeld(controls, Action::SteerLeft);
  keys.brake = ActionHeld(controls, Action::Brake);
  keys.nitro = TakeAction(controls, Action::Nitro);
  drive(keys);
}

void Race::drive(const HeldKeys& keys) {
  CarState& p = *player;
  const double h = HeadingRadians(p);
  const double acceleration = p.car->acceleration;
  const double steering = p.car->steering;
  if (keys.accelerate) {
    p.force.x = static_cast<float>(p.force.x + std::sin(h) * acceleration);
    p.force.z = static_cast<float>(p.force.z + std::cos(h) * acceleration);
    p.torque.x = static_cast<float>(p.torque.x - 0.005);
  }
  if (keys.right) {
    p.torque.y = static_cast<float>(p.torque.y - 2 * steering);
    p.torque.z = static_cast<float>(p.torque.z - 2 * steering);
    p.torque.x = static_cast<float>(p.torque.x - 0.08 * steering);
  }
  if (keys.left) {
    p.torque.y = static_cast<float>(p.torque.y + 2 * steering);
    p.torque.z = static_cast<float>(p.torque.z + 2 * steering);
    p.torque.x = static_cast<float>(p.torque.x + 0.08 * steering);
  }
  if (keys.brake) {
    // Braking scales only the horizontal velocity.
    p.velocity.x = static_cast<float>(p.velocity.x * 0.95);
    p.velocity.z = static_cast<float>(p.velocity.z * 0.95);
    p.torque.x = static_cast<float>(p.torque.x + 0.05);
  }
  if (keys.nitro && p.nitro > 0) {
    p.nitro -= 1;
    p.force.x = static_cast<float>(p.force.x + std::sin(h) * acceleration * 120);
    p.force.z = static_cast<float>(p.force.z + std::cos(h) * acceleration * 120);
    p.torque.x = static_cast<float>(p.torque.x + 4.55);
  }
}

void Race::updateVelocity() {
  CarState& p = *player;
  const double h = HeadingRadians(p);
  // The velocity is turned onto the heading; the length is taken anew after x changes.
  const double s = Length(p.velocity);
  p.velocity.x = static_cast<float>(s * std::sin(h));
  const double s2 = Length(p.velocity);
  p.velocity.z = static_cast<float>(s2 * std::cos(h));
  Add(p.velocity, p.force);
  // A spinning car takes no more torque until it has slowed its turning below 1 degree/frame.
  if (Length(p.angularVelocity) < 1.0) Add(p.angularVelocity, p.torque);
  Scale(p.force, 0.75);
  Scale(p.torque, 0.75);
}

void Race::move() {
  CarState& p = *player;
  p.position.x -= p.velocity.x;
  p.position.y -= p.velocity.y;
  p.position.z -= p.velocity.z;
  Add(p.rotation, p.angularVelocity);
  Scale(p.velocity, 0.992);
  Scale(p.angularVelocity, 0.4);
  // Pitch and roll settle back towards level; the heading stays.
  p.rotation.x = static_cast<float>(p.rotation.x * 0.97);
  p.rotation.z = static_cast<float>(p.rotation.z * 0.97);
}
