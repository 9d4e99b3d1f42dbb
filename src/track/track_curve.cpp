// Cubic Bezier sampling of a track's control points into its closed centre line.
#include "track/track_curve.h"

#include <cmath>
#include <cstddef>

Vector3d BezierPoint(float t, const Vector3d* p) {
  const float u = 1.0f - t;
  const double td = t;
  const double ud = u;
  Vector3d a = std::pow(td, 3.0) * p[0];
  Vector3d b = (std::pow(td, 2.0) * ud * 3) * p[1];
  Vector3d c = (std::pow(ud, 2.0) * (td * 3)) * p[2];
  Vector3d d = std::pow(ud, 3.0) * p[3];
  return (a + b) + (c + d);
}

double LineLength(const std::vector<Vector3d>& points) {
  double length = 0.0;
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    const Vector3d &a = points[i], &b = points[i + 1];
    length += std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                        (b.z - a.z) * (b.z - a.z));
  }
  return length;
}

Vector3d NearestOnSegment(const Vector3d& a, const Vector3d& b, const Vector3d& p) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double length2 = ux * ux + uy * uy + uz * uz;
  if (!(length2 > 0)) return a;
  double t = ((p.x - a.x) * ux + (p.y - a.y) * uy + (p.z - a.z) * uz) / length2;
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  return Vector3d(a.x + t * ux, a.y + t * uy, a.z + t * uz);
}

namespace {

// Appends the samples k = steps .. 1 of one segment (t = k / steps, rounded to single precision),
// so the segment's end point itself is never emitted.
void SampleSegment(const Vector3d* p, int32_t steps, std::vector<Vector3d>& out) {
  for (int32_t k = steps; k >= 1; --k) {
    const float t = static_cast<float>(static_cast<double>(k) / static_cast<double>(steps));
    out.push_back(BezierPoint(t, p));
  }
}

// a + a - b per component, evaluated left to right: the handle a mirrored through b.
Vector3d Mirror(const Vector3d& a, const Vector3d& b) {
  return Vector3d(a.x + a.x - b.x, a.y + a.y - b.y, a.z + a.z - b.z);
}

}  // namespace

void TrackCurve::generate() {
  const size_t n = controlPoints.size();
  if (n < 2) return;  // the closing segment needs two points at each end

  // The group counter is 16 bits wide: a longer list is sampled up to its 32767th group.
  const size_t fullGroups = n / 4;
  const int16_t groupCount = static_cast<int16_t>(fullGroups > 32767 ? 32767 : fullGroups);
  if (steps > 0) points.reserve(points.size() + (groupCount + 1) * static_cast<size_t>(steps) + 1);
  for (int16_t g = 0; g < groupCount; ++g) {
    SampleSegment(&controlPoints[4 * static_cast<size_t>(g)], steps, points);
  }

  const Vector3d closing[4] = {
      controlPoints[n - 1],
      Mirror(controlPoints[n - 1], controlPoints[n - 2]),
      Mirror(controlPoints[0], controlPoints[1]),
      controlPoints[0],
  };
  SampleSegment(closing, steps, points);

  points.push_back(controlPoints[0]);
}
