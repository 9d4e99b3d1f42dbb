// Fitting, zooming and dragging the editor's map.
#include "editor/map_view.h"

#include <algorithm>

void MapView::fit(const std::vector<Vector3d>& points) {
  if (points.empty()) return;
  double x0 = points[0].x, x1 = x0, z0 = points[0].z, z1 = z0;
  for (const Vector3d& p : points) {
    x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
    z0 = std::min(z0, p.z), z1 = std::max(z1, p.z);
  }
  centreX = (x0 + x1) / 2;
  centreZ = (z0 + z1) / 2;
  scale = 0.85 * std::min(width / std::max(x1 - x0, 1.0), height / std::max(z1 - z0, 1.0));
}

void MapView::zoomAbout(double sx, double sy, double factor) {
  const double x = groundX(sx), z = groundZ(sy);
  scale = std::clamp(scale * factor, 0.02, 400.0);
  centreX += x - groundX(sx);
  centreZ += z - groundZ(sy);
}

void MapView::drag(double dx, double dy) {
  centreX -= dx / scale;
  centreZ += dy / scale;
}
