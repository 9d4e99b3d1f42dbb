// The angles that aim an eye standing in the world at a point (a camera beside the road looking
// at a car). GL-free.
#pragma once

#include "race/vector3f.h"

// Degrees, as a car's rotation holds them: heading about y, pitch about x.
struct CameraAim {
  float heading = 0;
  float pitch = 0;
};

// The heading and pitch that turn the eye (looking along -z) towards `target`.
CameraAim AimAt(const Vector3f& eye, const Vector3f& target);
