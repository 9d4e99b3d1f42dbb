// Drawing of lines, discs and quadrilaterals on the map canvas.
#include "map_canvas.h"

#include <algorithm>
#include <cmath>

MapCanvas::MapCanvas(int width, int height, double minX, double maxX, double minZ, double maxZ,
                     int margin, formats::Rgb background)
    : picture_(width, height, background) {
  const double spanX = std::max(maxX - minX, 1e-9);
  const double spanZ = std::max(maxZ - minZ, 1e-9);
  scale_ = std::min((width - 2.0 * margin) / spanX, (height - 2.0 * margin) / spanZ);
  offsetX_ = (width - spanX * scale_) / 2 - minX * scale_;
  offsetY_ = (height - spanZ * scale_) / 2 - minZ * scale_;
}

// Picture rows run bottom first; z grows downwards on the map.
double MapCanvas::px(double x) const {
  return offsetX_ + x * scale_;
}
double MapCanvas::py(double z) const {
  return picture_.height - 1 - (offsetY_ + z * scale_);
}

void MapCanvas::plot(int x, int y, formats::Rgb colour) {
  if (x >= 0 && y >= 0 && x < picture_.width && y < picture_.height) picture_.set(x, y, colour);
}

void MapCanvas::line(double x0, double z0, double x1, double z1, formats::Rgb colour,
                     double thickness) {
  const double ax = px(x0), ay = py(z0), bx = px(x1), by = py(z1);
  const double length = std::hypot(bx - ax, by - ay);
  const int steps = std::max(1, static_cast<int>(std::ceil(length * 2)));
  const int r = static_cast<int>(std::ceil(thickness / 2));
  for (int k = 0; k <= steps; ++k) {
    const double cx = ax + (bx - ax) * k / steps, cy = ay + (by - ay) * k / steps;
    for (int dy = -r; dy <= r; ++dy)
      for (int dx = -r; dx <= r; ++dx)
        if (dx * dx + dy * dy <= thickness * thickness / 4 + 0.25)
          plot(static_cast<int>(std::lround(cx)) + dx, static_cast<int>(std::lround(cy)) + dy,
               colour);
  }
}

void MapCanvas::disc(double x, double z, double radiusPixels, formats::Rgb colour) {
  const double cx = px(x), cy = py(z);
  const int r = static_cast<int>(std::ceil(radiusPixels));
  for (int dy = -r; dy <= r; ++dy)
    for (int dx = -r; dx <= r; ++dx)
      if (dx * dx + dy * dy <= radiusPixels * radiusPixels)
        plot(static_cast<int>(std::lround(cx)) + dx, static_cast<int>(std::lround(cy)) + dy,
             colour);
}

void MapCanvas::quad(const double (&x)[4], const double (&z)[4], formats::Rgb colour) {
  double sx[4], sy[4];
  for (int k = 0; k < 4; ++k) {
    sx[k] = px(x[k]);
    sy[k] = py(z[k]);
  }
  const int x0 = static_cast<int>(std::floor(*std::min_element(sx, sx + 4)));
  const int x1 = static_cast<int>(std::ceil(*std::max_element(sx, sx + 4)));
  const int y0 = static_cast<int>(std::floor(*std::min_element(sy, sy + 4)));
  const int y1 = static_cast<int>(std::ceil(*std::max_element(sy, sy + 4)));
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      // Inside when on the same side of all four edges (either winding).
      bool positive = false, negative = false;
      for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        const double cross =
            (sx[n] - sx[k]) * (y + 0.5 - sy[k]) - (sy[n] - sy[k]) * (x + 0.5 - sx[k]);
        positive = positive || cross > 1e-9;
        negative = negative || cross < -1e-9;
      }
      if (!(positive && negative)) plot(x, y, colour);
    }
  }
}
