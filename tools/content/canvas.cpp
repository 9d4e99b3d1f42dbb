// Canvas drawing: supersampled shape filling, blending and conversion to 8-bit pictures.
#include "content/canvas.h"

#include <cmath>

namespace content {

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::blend(int x, int y, Colour c, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  Colour& p = at(x, y);
  p = Mix(p, c, std::min(alpha, 1.0f));
}

void Canvas::paint(const std::function<Colour(float, float)>& colourAt) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) at(x, y) = colourAt(x + 0.5f, y + 0.5f);
}

void Canvas::fillShape(float x0, float y0, float x1, float y1,
                       const std::function<bool(float, float)>& inside,
                       const std::function<Colour(float, float)>& colourAt, float opacity,
                       bool wrap) {
  int ix0 = static_cast<int>(std::floor(x0)), iy0 = static_cast<int>(std::floor(y0));
  int ix1 = static_cast<int>(std::ceil(x1)), iy1 = static_cast<int>(std::ceil(y1));
  if (!wrap) {
    ix0 = std::max(ix0, 0);
    iy0 = std::max(iy0, 0);
    ix1 = std::min(ix1, width_);
    iy1 = std::min(iy1, height_);
  }
  for (int y = iy0; y < iy1; ++y) {
    for (int x = ix0; x < ix1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx)
          if (inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4)) ++hits;
      if (hits == 0) continue;
      int wx = ((x % width_) + width_) % width_, wy = ((y % height_) + height_) % height_;
      blend(wx, wy, colourAt(x + 0.5f, y + 0.5f), opacity * hits / 16.0f);
    }
  }
}

void Canvas::fillShape(float x0, float y0, float x1, float y1,
                       const std::function<bool(float, float)>& inside, Colour colour,
                       float opacity, bool wrap) {
  fillShape(
      x0, y0, x1, y1, inside, [colour](float, float) { return colour; }, opacity, wrap);
}

void Canvas::fillRect(float x0, float y0, float x1, float y1, Colour colour, float opacity) {
  fillShape(
      x0, y0, x1, y1, [&](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; },
      colour, opacity);
}

void Canvas::fillRoundedRect(float x0, float y0, float x1, float y1, float radius, Colour colour,
                             float opacity) {
  fillShape(
      x0, y0, x1, y1,
      [&](float x, float y) {
        float dx = std::max({x0 + radius - x, 0.0f, x - (x1 - radius)});
        float dy = std::max({y0 + radius - y, 0.0f, y - (y1 - radius)});
        return dx * dx + dy * dy <= radius * radius && x >= x0 && x < x1 && y >= y0 && y < y1;
      },
      colour, opacity);
}

void Canvas::fillDisc(float cx, float cy, float radius, Colour colour, float opacity, bool wrap) {
  fillShape(
      cx - radius, cy - radius, cx + radius, cy + radius,
      [&](float x, float y) {
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
      },
      colour, opacity, wrap);
}

bool InsidePolygon(const std::vector<std::pair<float, float>>& points, float x, float y) {
  bool in = false;
  for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
    auto [xi, yi] = points[i];
    auto [xj, yj] = points[j];
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
  }
  return in;
}

void Canvas::fillPolygon(const std::vector<std::pair<float, float>>& points, Colour colour,
                         float opacity) {
  if (points.size() < 3) return;
  float x0 = points[0].first, x1 = x0, y0 = points[0].second, y1 = y0;
  for (auto [x, y] : points) {
    x0 = std::min(x0, x);
    x1 = std::max(x1, x);
    y0 = std::min(y0, y);
    y1 = std::max(y1, y);
  }
  fillShape(
      x0, y0, x1, y1, [&](float x, float y) { return InsidePolygon(points, x, y); }, colour,
      opacity);
}

float SegmentDistanceSquared(float px, float py, float ax, float ay, float bx, float by) {
  float dx = bx - ax, dy = by - ay;
  float len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? Clamp01(((px - ax) * dx + (py - ay) * dy) / len2) : 0.0f;
  float qx = ax + t * dx - px, qy = ay + t * dy - py;
  return qx * qx + qy * qy;
}

void Canvas::drawLine(float x0, float y0, float x1, float y1, float thickness, Colour colour,
                      float opacity) {
  float r = thickness / 2;
  fillShape(
      std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
      [&](float x, float y) { return SegmentDistanceSquared(x, y, x0, y0, x1, y1) <= r * r; },
      colour, opacity);
}

formats::Picture Canvas::toPicture() const {
  formats::Picture picture(width_, height_);
  auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      Colour c = at(x, y);
      picture.set(x, height_ - 1 - y, {byte(c.r), byte(c.g), byte(c.b)});
    }
  }
  return picture;
}

}  // namespace content
