// Aiming a standing eye at a point.
#include "race/camera_aim.h"

#include <cmath>
#include <numbers>

CameraAim AimAt(const Vector3f& eye, const Vector3f& target) {
  const double dx = target.x - eye.x, dy = target.y - eye.y, dz = target.z - eye.z;
  constexpr double Degrees = 180.0 / std::numbers::pi;
  // Heading h and pitch p look along (-cos p sin h, sin p, -cos p cos h).
  return {static_cast<float>(std::atan2(-dx, -dz) * Degrees),
          static_cast<float>(std::atan2(dy, std::hypot(dx, dz)) * Degrees)};
}
