// A small RGB canvas in track coordinates (x to the right, z downwards) for the track maps.
#pragma once

#include "formats/bmp_writer.h"

class MapCanvas {
 public:
  // A width by height picture showing x in [minX, maxX] and z in [minZ, maxZ] at one scale,
  // centred, inside a margin of `margin` pixels.
  MapCanvas(int width, int height, double minX, double maxX, double minZ, double maxZ, int margin,
            formats::Rgb background);

  void line(double x0, double z0, double x1, double z1, formats::Rgb colour, double thickness);
  void disc(double x, double z, double radiusPixels, formats::Rgb colour);
  // Fills the convex quadrilateral with corners in order.
  void quad(const double (&x)[4], const double (&z)[4], formats::Rgb colour);

  const formats::Picture& picture() const { return picture_; }

 private:
  double px(double x) const;
  double py(double z) const;
  void plot(int x, int y, formats::Rgb colour);

  formats::Picture picture_;
  double scale_;
  double offsetX_;
  double offsetY_;
};
