// The car's place on the track: the nearest centre point, lap counting, and the road border
// with its damage.
#include <cmath>

#include "game/game_setup.h"
#include "platform/clock.h"
#include "race/race.h"
#include "track/track.h"

void Race::findNearestPoint() {
  if (!hasCentreLine()) return;
  if (track->fromFile) return findNearestSegment();
  const auto& points = track->curve.points;
  const Vector3f& at = player->position;
  // The best distance is kept in single precision; the index stays when nothing is nearer.
  float best = 99999.9f;
  for (size_t i = 0; i < points.size(); ++i) {
    const double dx = at.x - points[i].x;
    const double dy = at.y - points[i].y;
    const double dz = at.z - points[i].z;
    const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (d < best) {
      best = static_cast<float>(d);
      nearestIndex = static_cast<int32_t>(i);
    }
  }
}

void Race::countLaps() {
  if (!hasCentreLine()) return;
  if (track->fromFile) return countFileLaps();
  CarState& p = *player;
  const double m = static_cast<double>(track->curve.points.size()) * 0.5;
  const int32_t i = nearestIndex;
  if (m - 80 < i && i < m - 40) p.checkpoint1 = true;
  if (m + 40 < i && i < m + 80 && p.checkpoint1) p.checkpoint2 = true;
  if (i < 80 && p.checkpoint1 && p.checkpoint2) {
    p.laps += 1;
    p.checkpoint2 = false;
    p.checkpoint1 = false;
  }
  if (p.laps == track->laps) {
    state = Finished;
    finishTime = platform::CalendarTime();
  }
}

void Race::checkBorder() {
  if (!hasCentreLine()) return;
  const auto& points = track->curve.points;
  const auto count = static_cast<int32_t>(points.size());
  // An index left over from a longer track (nothing nearer was found) is not read.
  if (nearestIndex < 0 || nearestIndex >= count) return;
  CarState& p = *player;
  // On a file's track the road is measured from its centre line between the points, which may
  // lie further apart than the road is wide.
  const Vector3d at = track->fromFile ? nearestOnRoad() : points[nearestIndex];
  const float dx = static_cast<float>(p.position.x - at.x);
  const float dy = static_cast<float>(p.position.y - at.y);
  const float dz = static_cast<float>(p.position.z - at.z);
  const double dist = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy +
                                static_cast<double>(dz) * dz);
  if (dist <= track->halfWidth - 0.07) return;

  p.position.x = static_cast<float>(p.position.x - 0.1 * dx);
  p.position.z = static_cast<float>(p.position.z - 0.1 * dz);
  p.velocity.x = static_cast<float>(p.velocity.x * 0.5);
  p.velocity.y = static_cast<float>(p.velocity.y * 0.5);
  p.velocity.z = static_cast<float>(p.velocity.z * 0.5);
  // The line is closed (its last point repeats the first), so the point after the last is 1.
  const auto& next = points[nearestIndex + 1 < count ? nearestIndex + 1 : 1];
  const auto& here = points[nearestIndex];
  // Arctangent of one difference, in radians, added to the heading in degrees: a small nudge.
  p.rotation.y =
      static_cast<float>(p.rotation.y + 0.2 * std::atan((next.z - here.z) - (next.x - here.x)));
  if (p.car == nullptr) return;
  float& health = carHealth();
  health = static_cast<float>(health - 0.23);
  if (health < 0) state = Crashed;
}
