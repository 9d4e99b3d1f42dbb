// Bend radius along a track's centre line, seen from above.
#include "track/road_bends.h"

#include <cmath>

long FindTightBend(const std::vector<Vector3d>& points, double halfWidth) {
  const size_t n = points.size();
  if (n < 3) return -1;
  // The radius of the circle through each sample and its neighbours (the line is closed: the
  // first sample's neighbour before it is the last but one).
  for (size_t i = 0; i + 1 < n; ++i) {
    const Vector3d& a = points[i == 0 ? n - 2 : i - 1];
    const Vector3d &b = points[i], &c = points[i + 1];
    const double ab = std::hypot(b.x - a.x, b.z - a.z), bc = std::hypot(c.x - b.x, c.z - b.z),
                 ca = std::hypot(a.x - c.x, a.z - c.z);
    const double twiceArea = std::fabs((b.x - a.x) * (c.z - a.z) - (b.z - a.z) * (c.x - a.x));
    // R = ab bc ca / (4 area), compared without dividing by a vanishing area.
    if (ab * bc * ca < halfWidth * 2.0 * twiceArea) return static_cast<long>(i);
  }
  return -1;
}
