// The editor's map seen from above: where a point of the ground lands on the screen and back,
// fitting a track, zooming about the pointer and dragging. GL-free.
#pragma once

#include <vector>

#include "track/vector3d.h"

struct MapView {
  // The map's area of the screen, in pixels from the bottom left.
  double left = 0, bottom = 0, width = 800, height = 600;
  // The ground point at the area's middle, and pixels per unit.
  double centreX = 0, centreZ = 0, scale = 10;

  // +x to the right, +z down the screen (the ground seen from above).
  double screenX(double x) const { return left + width / 2 + (x - centreX) * scale; }
  double screenY(double z) const { return bottom + height / 2 - (z - centreZ) * scale; }
  double groundX(double sx) const { return centreX + (sx - left - width / 2) / scale; }
  double groundZ(double sy) const { return centreZ - (sy - bottom - height / 2) / scale; }

  // Centred on the points' extent, which then fills the area with a margin.
  void fit(const std::vector<Vector3d>& points);
  // Zooms by `factor` keeping the ground under the screen point sx, sy where it is.
  void zoomAbout(double sx, double sy, double factor);
  // Moves the map with the pointer by dx, dy pixels.
  void drag(double dx, double dy);
};
