// A floating-point RGB drawing surface with anti-aliased shape filling, used to paint every
// generated picture; converts to a bottom-row-first picture for the BMP writer.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include "formats/bmp_writer.h"

namespace content {

struct Colour {
  float r = 0, g = 0, b = 0;
};
inline Colour operator+(Colour a, Colour b) {
  return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Colour operator-(Colour a, Colour b) {
  return {a.r - b.r, a.g - b.g, a.b - b.b};
}
inline Colour operator*(Colour a, float k) {
  return {a.r * k, a.g * k, a.b * k};
}
inline Colour operator*(Colour a, Colour b) {
  return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Colour Mix(Colour a, Colour b, float t) {
  return a + (b - a) * t;
}
// A colour from 0-255 components.
inline Colour Rgb255(int r, int g, int b) {
  return {r / 255.0f, g / 255.0f, b / 255.0f};
}

inline float Clamp01(float v) {
  return std::clamp(v, 0.0f, 1.0f);
}
inline float SmoothStep(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

// Pixels addressed with (x, y), y = 0 the top row; pixel (x, y) covers [x, x+1) x [y, y+1).
class Canvas {
 public:
  Canvas(int width, int height, Colour fill = {});
  int width() const { return width_; }
  int height() const { return height_; }
  Colour& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  Colour at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  void blend(int x, int y, Colour c, float alpha);

  // Every pixel set from a function of the pixel centre.
  void paint(const std::function<Colour(float x, float y)>& colourAt);

  // Fills the shape `inside` within the box [x0, x1) x [y0, y1), 4 x 4 samples per pixel for
  // smooth edges. With wrap set, the box may run past the edges and wraps round (for tiles).
  void fillShape(float x0, float y0, float x1, float y1,
                 const std::function<bool(float x, float y)>& inside,
                 const std::function<Colour(float x, float y)>& colourAt, float opacity = 1.0f,
                 bool wrap = false);
  void fillShape(float x0, float y0, float x1, float y1,
                 const std::function<bool(float x, float y)>& inside, Colour colour,
                 float opacity = 1.0f, bool wrap = false);

  void fillRect(float x0, float y0, float x1, float y1, Colour colour, float opacity = 1.0f);
  void fillRoundedRect(float x0, float y0, float x1, float y1, float radius, Colour colour,
                       float opacity = 1.0f);
  void fillDisc(float cx, float cy, float radius, Colour colour, float opacity = 1.0f,
                bool wrap = false);
  // A filled polygon (even-odd rule).
  void fillPolygon(const std::vector<std::pair<float, float>>& points, Colour colour,
                   float opacity = 1.0f);
  void drawLine(float x0, float y0, float x1, float y1, float thickness, Colour colour,
                float opacity = 1.0f);

  // The picture bottom row first, components rounded to 8 bits.
  formats::Picture toPicture() const;

 private:
  int width_, height_;
  std::vector<Colour> pixels_;
};

bool InsidePolygon(const std::vector<std::pair<float, float>>& points, float x, float y);
// Squared distance from (px, py) to the segment (ax, ay)-(bx, by).
float SegmentDistanceSquared(float px, float py, float ax, float ay, float bx, float by);

}  // namespace content
