// Trackside cameras: placed by distance along the centre line, chosen by nearness, aimed with
// the heading and pitch the race's own eye uses.
#include "replay/replay_camera.h"

#include <cmath>
#include <numbers>

#include "track/road_edges.h"
#include "track/track.h"

std::vector<Vector3f> TracksideCameras(const Track& track) {
  std::vector<Vector3f> cameras;
  const auto& points = track.curve.points;
  if (points.empty()) return cameras;
  SideDirection side{0.0f, 0.0f, -1.0f};
  double sinceLast = CameraSpacing;  // a camera on the first point
  const double out = track.halfWidth + CameraBeyondEdge;
  for (size_t i = 0; i < points.size(); ++i) {
    if (i + 1 < points.size()) side = SideDirectionAt(points, i, side);
    if (i > 0) {
      const Vector3d& a = points[i - 1];
      const Vector3d& b = points[i];
      sinceLast += std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                             (b.z - a.z) * (b.z - a.z));
    }
    // The last point repeats the first: a camera there would stand on the first one.
    if (sinceLast < CameraSpacing || (i + 1 == points.size() && i > 0)) continue;
    sinceLast = 0;
    const Vector3d& p = points[i];
    cameras.emplace_back(p.x + out * side.x, p.y + out * side.y + CameraHeight, p.z + out * side.z);
  }
  return cameras;
}

size_t NearestCamera(const std::vector<Vector3f>& cameras, const Vector3f& car) {
  size_t best = 0;
  float bestDistance = INFINITY;
  for (size_t i = 0; i < cameras.size(); ++i) {
    const float dx = cameras[i].x - car.x, dy = cameras[i].y - car.y, dz = cameras[i].z - car.z;
    const float distance = dx * dx + dy * dy + dz * dz;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}
