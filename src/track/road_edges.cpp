// Edge points of the road beside a centre point.
#include "track/road_edges.h"

#include <cmath>

SideDirection SideDirectionAt(const std::vector<Vector3d>& points, size_t i,
                              SideDirection previous) {
  const double dx = points[i + 1].x - points[i].x;
  const float dy = static_cast<float>(points[i + 1].y - points[i].y);
  const float dz = static_cast<float>(points[i + 1].z - points[i].z);
  const double len =
      std::sqrt(dx * dx + static_cast<double>(dz) * dz + static_cast<double>(dy) * dy);
  if (len == 0.0) return previous;  // no direction to be had from a step of zero length
  return SideDirection{static_cast<float>(dz / len), static_cast<float>(dy / len),
                       static_cast<float>(-dx / len)};
}

EdgePair EdgesAt(const Vector3d& centre, float halfWidth, SideDirection side) {
  const double w = halfWidth;
  return EdgePair{
      Vector3d(centre.x + w * side.x, centre.y + w * side.y, centre.z + w * side.z),
      Vector3d(centre.x - w * side.x, centre.y - w * side.y, centre.z - w * side.z),
  };
}
