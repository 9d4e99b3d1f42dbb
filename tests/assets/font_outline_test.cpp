// The font face and glyph triangulation, without GL: the face found, the code page, and
// triangles that cover exactly the area inside each glyph's contours.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assets/glyph_tessellation.h"
#include "platform/font_face.h"

namespace {

double ContourArea(const std::vector<platform::OutlinePoint>& contour) {
  double twice = 0;
  for (size_t i = 0; i < contour.size(); ++i) {
    const auto& a = contour[i];
    const auto& b = contour[(i + 1) % contour.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return twice / 2;
}

TEST(FontFace, FindsABoldArialTwinAndReadsItsGlyphsInEmUnits) {
  const platform::FontOutlines& font = platform::BoldSansOutlines();
  ASSERT_FALSE(font.file.empty()) << "no bold sans-serif font installed";
  EXPECT_EQ(font.family, "Liberation Sans");
  const platform::GlyphOutline& h = font.glyphs['H'];
  // Arial Bold and its twins: 'H' advances 0.722 em and stands about 0.7 em tall.
  EXPECT_NEAR(h.advance, 0.722, 0.001);
  double top = 0;
  for (const auto& contour : h.contours) {
    for (const auto& p : contour) top = std::max(top, p.y);
  }
  EXPECT_NEAR(top, 0.7, 0.03);
  EXPECT_TRUE(font.glyphs[' '].contours.empty());
  EXPECT_GT(font.glyphs[' '].advance, 0.2);
  // Windows-1252 codes 128 to 159 name the euro sign and other letters, not controls.
  EXPECT_FALSE(font.glyphs[0x80].contours.empty());
  EXPECT_EQ(platform::Windows1252ToUnicode(0x80), 0x20ACu);
  EXPECT_EQ(platform::Windows1252ToUnicode(0x9F), 0x0178u);
  EXPECT_EQ(platform::Windows1252ToUnicode(0x81), 0u);
  EXPECT_EQ(platform::Windows1252ToUnicode(0xE9), 0xE9u);
}

TEST(FontFace, CurvesAreFlattenedFinely) {
  // The 'O' has no corners: the flattened rim may turn only a little at each point.
  const platform::GlyphOutline& o = platform::BoldSansOutlines().glyphs['O'];
  for (const auto& contour : o.contours) {
    const size_t n = contour.size();
    for (size_t i = 0; i < n; ++i) {
      const auto& p = contour[i];
      const auto& q = contour[(i + 1) % n];
      const auto& r = contour[(i + 2) % n];
      double turn = std::atan2(r.y - q.y, r.x - q.x) - std::atan2(q.y - p.y, q.x - p.x);
      turn = std::remainder(turn, 2 * M_PI);
      EXPECT_LT(std::abs(turn), 12 * M_PI / 180) << "point " << i;
    }
  }
}

// Outer contours run counter-clockwise and holes clockwise, so the signed areas of the contours
// add up to the filled area, which the triangles, all facing +z, must cover exactly.
TEST(GlyphTessellation, TrianglesCoverTheFilledAreaFacingPlusZ) {
  const platform::FontOutlines& font = platform::BoldSansOutlines();
  for (unsigned char c : std::string("ABOQR8e%&@g$\xC4\xE9\x80")) {
    const platform::GlyphOutline& glyph = font.glyphs[c];
    std::vector<double> tri = TessellateGlyph(glyph);
    ASSERT_EQ(tri.size() % 6, 0u) << c;
    ASSERT_FALSE(tri.empty()) << c;
    double covered = 0;
    for (size_t i = 0; i < tri.size(); i += 6) {
      double area = ((tri[i + 2] - tri[i]) * (tri[i + 5] - tri[i + 1]) -
                     (tri[i + 3] - tri[i + 1]) * (tri[i + 4] - tri[i])) /
                    2;
      EXPECT_GT(area, 0) << c;
      covered += area;
    }
    double inside = 0;
    for (const auto& contour : glyph.contours) inside += ContourArea(contour);
    EXPECT_NEAR(covered, inside, 1e-6) << c;
  }
  EXPECT_TRUE(TessellateGlyph(font.glyphs[' ']).empty());
}

}  // namespace
