// Repeating pictures meet themselves without a seam: the skies across their left and right
// edges, the roads along their length (top and bottom rows), the kerbs along the wall. The
// pictures are grainy, so the seam is compared with the difference of neighbouring lines.
#include <gtest/gtest.h>

#include <cstdlib>

#include "assets/bmp_image.h"
#include "content_test_support.h"

namespace {

struct Edges {
  double seam;       // mean difference between the two opposite edges
  double neighbour;  // mean difference between neighbouring lines inside the picture
};

// Mean absolute channel difference between lines a and b (columns when vertical, else rows).
double LineDifference(const RgbImage& image, bool vertical, int a, int b) {
  long total = 0;
  int count = vertical ? image.height : image.width;
  for (int i = 0; i < count; ++i)
    for (int c = 0; c < 3; ++c) {
      size_t pa = vertical ? (size_t(i) * image.width + a) : (size_t(a) * image.width + i);
      size_t pb = vertical ? (size_t(i) * image.width + b) : (size_t(b) * image.width + i);
      total += std::abs(int(image.pixels[pa * 3 + c]) - int(image.pixels[pb * 3 + c]));
    }
  return double(total) / (count * 3);
}

Edges Measure(const std::string& name, bool vertical) {
  auto image = LoadBmpImage((content_testing::GeneratedDataFolder() + "/" + name).c_str());
  if (!image) return {1e9, 0};
  int lines = vertical ? image->width : image->height;
  double neighbour = 0;
  for (int i = 0; i + 1 < lines; ++i) neighbour += LineDifference(*image, vertical, i, i + 1);
  return {LineDifference(*image, vertical, 0, lines - 1), neighbour / (lines - 1)};
}

TEST(ContentTiling, SkiesRepeatAcrossTheirLeftAndRightEdges) {
  for (const char* sky : {"Sky.bmp", "SkyBleuetForet.bmp", "SkyNocturne.bmp"}) {
    Edges e = Measure(sky, true);
    EXPECT_LT(e.seam, 12.0) << sky;
    EXPECT_LT(e.seam, 1.5 * e.neighbour + 1.0) << sky << " neighbours differ by " << e.neighbour;
  }
}

TEST(ContentTiling, RoadsRepeatAlongTheirLength) {
  for (const char* road : {"Road.bmp", "Road2.bmp"}) {
    Edges e = Measure(road, false);
    EXPECT_LT(e.seam, 12.0) << road;
    EXPECT_LT(e.seam, 1.5 * e.neighbour + 1.0) << road << " neighbours differ by " << e.neighbour;
  }
}

TEST(ContentTiling, KerbsRepeatAlongTheWall) {
  for (const char* border : {"border.bmp", "border1.bmp", "border2.bmp"}) {
    Edges e = Measure(border, true);
    EXPECT_LT(e.seam, 4.0) << border;
  }
}

}  // namespace
