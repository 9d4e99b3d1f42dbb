// Catmull-Rom pieces through a track's waypoints, as the file's cubic groups.
#include "track/waypoint_curve.h"

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
  // Along +x at both ends: out of the start by half the first chord, into the last waypoint by
  // six tenths of its distance from the start, so that its handle lies on the axis behind it.
  const Vector3d first = Minus(w[1], w[0]);
  const double out = std::sqrt(first.x * first.x + first.y * first.y + first.z * first.z);
  tangent[0] = Vector3d(out > 0 ? out * 0.5 : 3.0, 0, 0);
  tangent[n - 1] = Vector3d(-w[n - 1].x * 0.6, 0, 0);
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
