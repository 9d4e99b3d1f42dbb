// The car on a track read from a file: laps that cannot be cut short, and the road's height.
#include <bit>
#include <cmath>

#include "platform/clock.h"
#include "race/race.h"
#include "track/track.h"

namespace {

constexpr int kStretches = 32;
// A lap needs three quarters of the stretches passed in order.
constexpr int kStretchesForLap = 24;

}  // namespace

void Race::countFileLaps() {
  CarState& p = *player;
  const double n = static_cast<double>(track->curve.points.size());
  const double m = n * 0.5;
  // The built-in windows, 40 and 80 points from half-way on a line of 481, as shares of n.
  const double nearShare = n / 12.0, farShare = n / 6.0;
  const int32_t i = nearestIndex;
  const int stretch = static_cast<int>(i * kStretches / static_cast<int64_t>(n));
  if (stretch == 0 || (stretch < kStretches && (p.passedStretches >> (stretch - 1)) & 1u))
    p.passedStretches |= 1u << stretch;
  if (m - farShare < i && i < m - nearShare) p.checkpoint1 = true;
  if (m + nearShare < i && i < m + farShare && p.checkpoint1) p.checkpoint2 = true;
  if (i < farShare && p.checkpoint1 && p.checkpoint2 &&
      std::popcount(p.passedStretches) >= kStretchesForLap) {
    p.laps += 1;
    p.checkpoint2 = false;
    p.checkpoint1 = false;
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
