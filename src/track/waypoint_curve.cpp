// Catmull-Rom pieces through a track's waypoints, as the file's cubic groups.
#include "track/waypoint_curve.h"

#include <algorithm>
#include <cmath>

namespace {

Vector3d Minus(const Vector3d& a, const Vector3d& b) {
  return Vector3d(a.x - b.x, a.y - b.y, a.z - b.z);
}

}  // namespace

std::vector<Vector3d> WaypointControlPoints(const std::vector<Vector3d>& w) {
  const size_t n = w.size();
  std::vector<Vector3d> points;
  if (n < 2) return points;
  std::vector<Vector3d> tangent(n);
  for (size_t i = 1; i + 1 < n; ++i) tangent[i] = 0.5 * Minus(w[i + 1], w[i - 1]);
  // Along +x at both ends, half as long as the chord to the neighbour (so that its handle lies on
  // the axis: ahead of the start, behind the last waypoint), but no longer than the start
  // straight, whose piece takes its handles from these: longer, it would run back on itself.
  const double straight = std::fabs(w[n - 1].x);
  const auto along = [straight](const Vector3d& a, const Vector3d& b) {
    const double chord = std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
    const double length = chord > 0 ? chord * 0.5 : 3.0;
    return Vector3d(straight > 0 ? std::min(length, straight) : length, 0, 0);
  };
  tangent[0] = along(w[0], w[1]);
  tangent[n - 1] = along(w[n - 2], w[n - 1]);
  points.reserve(4 * (n - 1));
  for (size_t i = 0; i + 1 < n; ++i) {
    points.push_back(w[i]);
    points.push_back(w[i] + (1.0 / 3.0) * tangent[i]);
    points.push_back(Minus(w[i + 1], (1.0 / 3.0) * tangent[i + 1]));
    points.push_back(w[i + 1]);
  }
  return points;
}

std::vector<Vector3d> ControlPointWaypoints(const std::vector<Vector3d>& controlPoints) {
  std::vector<Vector3d> waypoints;
  for (size_t i = 0; i + 1 < controlPoints.size(); i += 4) waypoints.push_back(controlPoints[i]);
  if (!controlPoints.empty()) waypoints.push_back(controlPoints.back());
  return waypoints;
}
