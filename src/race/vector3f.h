// Vector3f: three single-precision floats, the vector type of a car's state.
#pragma once

struct Vector3f {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;

  Vector3f() = default;
  // Built from doubles (track geometry is double precision); each value is narrowed to float.
  Vector3f(double x, double y, double z)
      : x(static_cast<float>(x)), y(static_cast<float>(y)), z(static_cast<float>(z)) {}
};
