// The autopilot: reads the car and the centre line, holds Up, Down, Left and Right.
#include "support/autopilot.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

#include "game/game_setup.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_of_two.h"
#include "race/race_screen.h"
#include "track/track.h"

namespace testing_support {

ManualCalendar::ManualCalendar(std::time_t start) : now_(start) {
  platform::SetCalendarClock([this] { return now_; });
}

ManualCalendar::~ManualCalendar() {
  platform::SetCalendarClock({});
}

namespace {

constexpr double Pi = std::numbers::pi;

double WrapAngle(double a) {
  while (a > Pi) a -= 2 * Pi;
  while (a < -Pi) a += 2 * Pi;
  return a;
}

// The heading the car moves along, in the radians the motion uses.
double MotionHeading(const CarState& car) {
  return car.rotation.y * static_cast<double>(0.0055555557f) * 3.14;
}

// The direction (as a heading) from point a to point b of the centre line.
double HeadingTowards(double fromX, double fromZ, double toX, double toZ) {
  // The car moves along (-sin h, -cos h).
  return std::atan2(-(toX - fromX), -(toZ - fromZ));
}

struct Keys {
  bool up = false, down = false, left = false, right = false;
};

// On a file's track, whose points may lie far apart: the point `distance` further along the
// line from the car's place on it.
Vector3d AlongRoad(const Race& race, double distance) {
  const auto& points = race.track->curve.points;
  const int loop = static_cast<int>(points.size()) - 1;
  int i = race.nearestIndex;
  Vector3d at = race.nearestOnRoad();
  for (int guard = 0; guard < 2 * loop; ++guard) {
    const Vector3d& next = points[i + 1];
    const double length = std::hypot(next.x - at.x, next.y - at.y, next.z - at.z);
    if (length >= distance) {
      const double share = distance / length;
      return Vector3d(at.x + share * (next.x - at.x), at.y + share * (next.y - at.y),
                      at.z + share * (next.z - at.z));
    }
    distance -= length;
    at = next;
    i = (i + 1) % loop;
  }
  return at;
}

Keys FollowRoad(const Race& race) {
  const CarState& car = *race.player;
  const auto& points = race.track->curve.points;
  const int loop = static_cast<int>(points.size()) - 1;  // the last point repeats the first
  const int here = race.nearestIndex;
  // Six points ahead on a built-in line (about 0.23 apart); the same way ahead on a file's.
  const bool file = race.track->fromFile;
  auto at = [&](int i) -> Vector3d {
    return file ? AlongRoad(race, (i - here) * 0.23) : points[((i % loop) + loop) % loop];
  };

  // Steer at a point a little ahead, allowing for the turning still under way.
  const Vector3d target = at(here + 6);
  const double wanted = HeadingTowards(car.position.x, car.position.z, target.x, target.z);
  const double degree = static_cast<double>(0.0055555557f) * 3.14;
  const double coming = (car.angularVelocity.y * 0.67 + car.torque.y * 1.5) * degree;
  const double error = WrapAngle(wanted - MotionHeading(car) - coming);

  // Slow down for the sharpest bend within the next stretch of road.
  double bend = 0;
  for (int i = 0; i < 30; i += 3) {
    const Vector3d a = at(here + i), b = at(here + i + 3), c = at(here + i + 6);
    const double turn =
        WrapAngle(HeadingTowards(b.x, b.z, c.x, c.z) - HeadingTowards(a.x, a.z, b.x, b.z));
    const double length = std::hypot(c.x - b.x, c.z - b.z) + 1e-9;
    bend = std::max(bend, std::abs(turn) / length);  // radians per unit of road
  }
  // Steady turning rate with a steering key held: about 13.3 x steering degrees per frame.
  const double turnRate = 13.3 * car.car->steering * degree;
  const double limit = std::clamp(0.45 * turnRate / std::max(bend, 1e-6), 0.02, 1.0);
  const double speed = std::hypot(car.velocity.x, car.velocity.z);

  Keys keys;
  keys.up = speed < limit;
  keys.down = speed > limit * 1.15;
  const double deadBand = 0.01;
  keys.left = error > deadBand;
  keys.right = error < -deadBand;
  return keys;
}

}  // namespace

AutopilotReport DriveRace(ManualCalendar& calendar, DrivingPlan plan, int maxFrames,
                          int framesPerSecond, const std::function<void()>& afterStep,
                          const DrivingKeys& drivingKeys) {
  Race& race = Races[0];
  AutopilotReport report;
  for (int frame = 0; frame < maxFrames; ++frame) {
    if (frame > 0 && frame % framesPerSecond == 0) calendar.advance();
    const float healthBefore = race.player->car->health;
    race.step();
    report.runningFrames += race.state == Race::Running || race.state == Race::Finished;
    if (afterStep) afterStep();
    if (race.player->car->health < healthBefore) ++report.borderHits;
    report.frames = frame + 1;
    if (race.state == Race::Crashed || race.state == Race::Finished) break;

    Keys keys;
    if (plan == DrivingPlan::IntoWall) {
      keys.up = keys.left = true;
    } else if (race.state == Race::Running) {
      keys = FollowRoad(race);
    }
    KeyState[drivingKeys.up] = keys.up;
    KeyState[drivingKeys.down] = keys.down;
    KeyState[drivingKeys.left] = keys.left;
    KeyState[drivingKeys.right] = keys.right;
    RaceScreenInput();
  }
  ClearKeyState();
  report.state = race.state;
  report.laps = race.player->laps;
  report.health = race.player->car->health;
  if (race.state == Race::Finished) report.raceTime = race.finishTime - race.runStart;
  return report;
}

RaceOfTwoReport DriveRaceOfTwo(ManualCalendar& calendar, int maxFrames, const DrivingKeys& one,
                               const DrivingKeys& two) {
  RaceOfTwoReport report;
  const std::tuple<Race*, AutopilotReport*, const DrivingKeys*> cars[2] = {
      {&Races[0], &report.one, &one}, {&Races[1], &report.two, &two}};
  for (int frame = 0; frame < maxFrames && !(RaceDone(Races[0]) && RaceDone(Races[1])); ++frame) {
    if (frame > 0 && frame % 60 == 0) calendar.advance();
    const float before[2] = {Races[0].health(), Races[1].health()};
    StepRaceOfTwo();
    for (int i = 0; i < 2; ++i) {
      auto [race, r, held] = cars[i];
      r->borderHits += race->health() < before[i];
      const Keys keys = race->state == Race::Running ? FollowRoad(*race) : Keys{};
      KeyState[held->up] = keys.up;
      KeyState[held->down] = keys.down;
      KeyState[held->left] = keys.left;
      KeyState[held->right] = keys.right;
      r->runningFrames += race->state == Race::Running ||
                          (race->state == Race::Finished && r->state != Race::Finished);
      r->state = race->state, r->laps = race->player->laps, r->frames = frame + 1;
      r->health = race->health();
      r->raceTime = race->state == Race::Finished ? race->finishTime - race->runStart : 0;
    }
    RaceScreenInput();
  }
  ClearKeyState();
  return report;
}

}  // namespace testing_support
