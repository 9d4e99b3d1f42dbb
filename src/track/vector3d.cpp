// The three value operations of Vector3d.
#include "track/vector3d.h"

Vector3d::Vector3d(double x, double y, double z) : x(x), y(y), z(z) {}

Vector3d operator+(Vector3d a, Vector3d b) {
  return Vector3d(a.x + b.x, a.y + b.y, a.z + b.z);
}

Vector3d operator*(double s, Vector3d v) {
  return Vector3d(v.x * s, v.y * s, v.z * s);
}
