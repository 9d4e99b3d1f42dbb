// Vector3d: the double-precision point every piece of track geometry is written in.
#pragma once

struct Vector3d {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;

  Vector3d() = default;
  Vector3d(double x, double y, double z);
};

// Componentwise sum.
Vector3d operator+(Vector3d a, Vector3d b);
// Every component scaled by s.
Vector3d operator*(double s, Vector3d v);
