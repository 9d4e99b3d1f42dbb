// The car on a track read from a file: its place on the road between the centre line's points,
// laps that cannot be cut short, and the road's height.
#include <algorithm>
#include <bit>
#include <cmath>

#include "platform/clock.h"
#include "race/race.h"
#include "track/track.h"
#include "track/track_curve.h"

namespace {

// A lap needs three quarters of the line's stretches passed in order: 32 stretches, or one a
// segment on a line of fewer segments, so that every stretch can be reached.
constexpr int kStretches = 32;

Vector3d Place(const Vector3f& position) {
  return Vector3d(position.x, position.y, position.z);
}

double Distance2(const Vector3d& a, const Vector3d& b) {
  return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z);
}

}  // namespace

void Race::findNearestSegment() {
  const auto& points = track->curve.points;
  const Vector3d at = Place(player->position);
  double best = INFINITY;
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    const double d = Distance2(at, NearestOnSegment(points[i], points[i + 1], at));
    if (d < best) {
      best = d;
      nearestIndex = static_cast<int32_t>(i);
    }
  }
}

Vector3d Race::nearestOnRoad() const {
  const auto& points = track->curve.points;
  const size_t next = static_cast<size_t>(nearestIndex) + 1;
  if (next >= points.size()) return points[nearestIndex];
  return NearestOnSegment(points[nearestIndex], points[next], Place(player->position));
}

void Race::countFileLaps() {
  CarState& p = *player;
  const int64_t segments = static_cast<int64_t>(track->curve.points.size()) - 1;
  const int stretches = static_cast<int>(std::min<int64_t>(kStretches, segments));
  // The lap zone of the built-in tracks, 80 points of 481, as a share of the line.
  const double lapZone = static_cast<double>(segments + 1) / 6.0;
  const int32_t i = nearestIndex;
  const int stretch = static_cast<int>(i * stretches / segments);
  if (stretch == 0 || (stretch < stretches && (p.passedStretches >> (stretch - 1)) & 1u))
    p.passedStretches |= 1u << stretch;
  // Passing three quarters of the stretches in order passes the built-in tracks' two windows
  // too (just before and after half-way), so they need no flags of their own here.
  if (i < lapZone && std::popcount(p.passedStretches) >= (3 * stretches + 3) / 4) {
    p.laps += 1;
    p.passedStretches = 1u;
  }
  if (p.laps == track->laps) {
    state = Finished;
    finishTime = platform::CalendarTime();
  }
}

void Race::followRoad() {
  const auto& points = track->curve.points;
  const auto count = static_cast<int32_t>(points.size());
  if (count < 2 || nearestIndex < 0 || nearestIndex >= count) return;
  CarState& p = *player;
  // The height along the nearer of the two steps beside the nearest point, where the car's
  // place falls on it in the x-z plane.
  double bestDistance = INFINITY, height = points[nearestIndex].y;
  for (int32_t from : {nearestIndex - 1, nearestIndex}) {
    const int32_t a = from < 0 ? count - 2 : from;
    const int32_t b = a + 1;
    if (b >= count) continue;
    const double dx = points[b].x - points[a].x, dz = points[b].z - points[a].z;
    const double length2 = dx * dx + dz * dz;
    double t = 0.0;
    if (length2 > 0)
      t = std::fmin(1.0, std::fmax(0.0, ((p.position.x - points[a].x) * dx +
                                         (p.position.z - points[a].z) * dz) /
                                            length2));
    const double ox = points[a].x + t * dx - p.position.x, oz = points[a].z + t * dz - p.position.z;
    const double distance = ox * ox + oz * oz;
    if (distance < bestDistance) {
      bestDistance = distance;
      height = points[a].y + t * (points[b].y - points[a].y);
    }
  }
  p.position.y = static_cast<float>(height + 0.05);
}
