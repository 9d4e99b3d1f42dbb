// The road's edge points beside each centre point: GL-free, shared by the road mesh and the
// track map tool.
#pragma once

#include <cstddef>
#include <vector>

#include "track/vector3d.h"

// Single-precision unit vector to the driver's left, at right angles to the direction of travel
// (travelling along +x it is (0, 0, -1)).
struct SideDirection {
  float x;
  float y;
  float z;
};

struct EdgePair {
  Vector3d left;
  Vector3d right;
};

// Side direction of the step from points[i] to points[i + 1]: the x difference in double
// precision, the y and z differences rounded to single precision, each component of the result
// rounded to single precision. A zero-length step gives `previous` instead. Requires
// i + 1 < points.size().
SideDirection SideDirectionAt(const std::vector<Vector3d>& points, size_t i,
                              SideDirection previous);

// Left = points[i] + halfWidth * side, right = points[i] - halfWidth * side, in double precision.
EdgePair EdgesAt(const Vector3d& centre, float halfWidth, SideDirection side);

// Direction used before any step has been measured: the one of a road along +x.
constexpr SideDirection kStartSideDirection = {0.0f, 0.0f, -1.0f};
