// The font face and glyph triangulation, without GL: the face found, the code page, smooth
// curves, and triangles that cover exactly the area inside each glyph's contours.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "assets/glyph_codes.h"
#include "assets/glyph_tessellation.h"
#include "assets/text_width.h"
#include "platform/font_face.h"

namespace {

const platform::FontOutlines& Font() {
  return platform::BoldSansOutlines();
}

TEST(FontFace, FindsABoldArialTwinAndReadsItsGlyphsInEmUnits) {
  ASSERT_FALSE(Font().file.empty()) << "no bold sans-serif font installed";
  EXPECT_EQ(Font().family, "Liberation Sans");
  // Arial Bold and its twins: 'H' advances 0.722 em and stands about 0.7 em tall.
  const platform::GlyphOutline& h = Font().glyphs['H'];
  EXPECT_NEAR(h.advance, 0.722, 0.001);
  double top = 0;
  for (const auto& contour : h.contours) {
    for (const auto& p : contour) top = std::max(top, p.y);
  }
  EXPECT_NEAR(top, 0.7, 0.03);
  EXPECT_TRUE(Font().glyphs[' '].contours.empty());
  EXPECT_GT(Font().glyphs[' '].advance, 0.2);
  // Windows-1252 codes 128 to 159 name the euro sign and other letters, not controls.
  EXPECT_EQ(platform::Windows1252ToUnicode(0x80), 0x20ACu);
  EXPECT_EQ(platform::Windows1252ToUnicode(0x9F), 0x0178u);
  EXPECT_EQ(platform::Windows1252ToUnicode(0x81), 0u);
  EXPECT_EQ(platform::Windows1252ToUnicode(0xE9), 0xE9u);
  // The 'O' has no corners: its flattened rim may turn only a little at each point.
  for (const auto& c : Font().glyphs['O'].contours) {
    for (size_t i = 0, n = c.size(); i < n; ++i) {
      const auto &p = c[i], &q = c[(i + 1) % n], &r = c[(i + 2) % n];
      double turn = std::atan2(r.y - q.y, r.x - q.x) - std::atan2(q.y - p.y, q.x - p.x);
      EXPECT_LT(std::abs(std::remainder(turn, 2 * M_PI)), 12 * M_PI / 180) << "point " << i;
    }
  }
}

// UTF-8 characters become their glyph codes (a name typed or read from a file shows its letters);
// bytes that are no UTF-8 character stay codes themselves, as texts always were drawn.
TEST(GlyphCodes, Utf8CharactersBecomeTheirCodesAndOtherBytesStay) {
  const std::pair<std::string, std::string> cases[] = {
      {"Loop 2", "Loop 2"},
      {"C\xC3\xB4t\xC3\xA9 \xE2\x82\xAC \xC5\xB8", "C\xF4t\xE9 \x80 \x9F"},  // Côté € Ÿ
      {"\xE5\x9D\x82 \xF0\x9F\x9A\x97", "? ?"},             // a kanji and an emoji: no glyph
      {"\xE9t\xE9 \xC3", "\xE9t\xE9 \xC3"},                 // Windows-1252 bytes; a cut character
      {"\xC0\xAF \xED\xA0\x80", "\xC0\xAF \xED\xA0\x80"}};  // overlong; a surrogate
  for (const auto& [text, codes] : cases) EXPECT_EQ(GlyphCodes(text), codes) << text;
  EXPECT_FLOAT_EQ(TextWidth("\xC3\xA9"), TextWidth("\xE9"));
}

// Outer contours run counter-clockwise and holes clockwise, so the signed areas of the contours
// add up to the filled area, which the triangles, all facing +z, must cover exactly.
TEST(GlyphTessellation, TrianglesCoverTheFilledAreaFacingPlusZ) {
  auto twiceArea = [](double ax, double ay, double bx, double by) { return ax * by - bx * ay; };
  for (unsigned char c : std::string("ABOQR8e%&@g$\xC4\xE9\x80")) {
    std::vector<double> tri = TessellateGlyph(Font().glyphs[c]);
    ASSERT_EQ(tri.size() % 6, 0u) << c;
    ASSERT_FALSE(tri.empty()) << c;
    double covered = 0, inside = 0;
    for (size_t i = 0; i < tri.size(); i += 6) {
      double area = twiceArea(tri[i + 2] - tri[i], tri[i + 3] - tri[i + 1], tri[i + 4] - tri[i],
                              tri[i + 5] - tri[i + 1]) /
                    2;
      EXPECT_GT(area, 0) << c;
      covered += area;
    }
    for (const auto& contour : Font().glyphs[c].contours) {
      for (size_t i = 0; i < contour.size(); ++i) {
        const auto &a = contour[i], &b = contour[(i + 1) % contour.size()];
        inside += twiceArea(a.x, a.y, b.x, b.y) / 2;
      }
    }
    EXPECT_NEAR(covered, inside, 1e-6) << c;
  }
  EXPECT_TRUE(TessellateGlyph(Font().glyphs[' ']).empty());
}

}  // namespace
