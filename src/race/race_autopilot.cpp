// The autopilot: reads the car and the centre line and chooses the keys; and its race on a
// track of its own.
#include "race/race_autopilot.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

#include "game/game_setup.h"
#include "platform/frame_rate.h"
#include "track/medals.h"
#include "track/track.h"
#include "track/track_identity.h"

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

}  // namespace

HeldKeys AutopilotKeys(const Race& race) {
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

  HeldKeys keys;
  keys.accelerate = speed < limit;
  keys.brake = speed > limit * 1.15;
  const double deadBand = 0.01;
  keys.left = error > deadBand;
  keys.right = error < -deadBand;
  return keys;
}

std::optional<double> AutopilotRaceSeconds(const Track& raced, const Car& car) {
  Track track;
  track.curve.points = raced.curve.points;
  track.halfWidth = raced.halfWidth;
  track.laps = raced.laps;
  track.fromFile = raced.fromFile;
  Race race;
  race.track = &track;
  race.cars.assign(1, CarState{});
  race.player = &race.cars.front();
  race.player->car = const_cast<Car*>(&car);  // read only: the health is the race's own
  race.ownHealth = car.health;
  race.player->position = Vector3f(-2.3, 0.05, 0.0);
  race.player->rotation = Vector3f(0.0, -90.0, 0.0);
  race.findNearestPoint();
  race.state = Race::Running;
  for (int steps = 1; steps <= 3600 * FramesPerSecond; ++steps) {
    race.simulate();
    if (race.state == Race::Finished) return static_cast<double>(steps) / FramesPerSecond;
    if (race.state != Race::Running) return {};
    race.drive(AutopilotKeys(race));
  }
  return {};
}

void GiveAutopilotMedals(Track& track) {
  if (!track.fromFile || track.trial || track.targets.medals || track.curve.points.size() < 2)
    return;
  static std::map<uint64_t, std::optional<std::array<double, 3>>> known;
  const uint64_t hash = TrackHash(track);
  auto found = known.find(hash);
  if (found == known.end()) {
    const auto seconds = AutopilotRaceSeconds(track, CarRoster[0]);
    found =
        known.emplace(hash, seconds ? std::optional(MedalsFromAutopilot(*seconds)) : std::nullopt)
            .first;
  }
  track.targets.medals = found->second;
}
