// The generator's drawing helpers: anti-aliased filling and wrapping on the canvas, row order
// of the converted picture, periodic noise, the pixel font's glyphs and bounds, and the palette
// reduction used by the indexed formats.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "content/canvas.h"
#include "content/noise.h"
#include "content/pixel_font.h"
#include "formats/bmp_writer.h"

namespace {

using content::Canvas;
using content::Colour;

TEST(ContentCanvas, FillsWithSmoothEdgesAndWrapsForTiles) {
  Canvas c(16, 8);
  c.fillRect(2, 1, 5.5f, 3, {1, 1, 1});
  EXPECT_FLOAT_EQ(c.at(3, 2).r, 1.0f);
  EXPECT_FLOAT_EQ(c.at(5, 2).r, 0.5f);  // half covered
  EXPECT_FLOAT_EQ(c.at(6, 2).r, 0.0f);
  EXPECT_FLOAT_EQ(c.at(3, 0).r, 0.0f);
  // A disc across the right edge comes back in on the left when wrapping.
  c.fillDisc(15.5f, 6, 1.5f, {0, 1, 0}, 1.0f, true);
  EXPECT_GT(c.at(0, 6).g, 0.8f);
  EXPECT_GT(c.at(15, 6).g, 0.8f);
  Canvas noWrap(16, 8);
  noWrap.fillDisc(15.5f, 6, 1.5f, {0, 1, 0});
  EXPECT_FLOAT_EQ(noWrap.at(0, 6).g, 0.0f);
}

TEST(ContentCanvas, PictureIsBottomRowFirstAndRounded) {
  Canvas c(2, 2);
  c.at(0, 0) = {1, 0, 0};            // top left
  c.at(1, 1) = {0.5f, 2.0f, -1.0f};  // bottom right, out of range components
  formats::Picture p = c.toPicture();
  EXPECT_EQ(p.at(0, 1), (formats::Rgb{255, 0, 0}));
  EXPECT_EQ(p.at(1, 0), (formats::Rgb{128, 255, 0}));
}

TEST(ContentNoise, RepeatsWithItsPeriodAndStaysInRange) {
  for (float y : {0.0f, 1.3f, 7.9f})
    for (float x : {0.0f, 0.25f, 2.5f, 5.75f}) {
      EXPECT_NEAR(content::PeriodicNoise(x, y, 6, 8, 3),
                  content::PeriodicNoise(x + 6, y + 8, 6, 8, 3), 1e-5f);
      float v = content::PeriodicNoise(x, y, 6, 8, 3);
      EXPECT_GE(v, 0.0f);
      EXPECT_LT(v, 1.0f);
    }
  // The fractal over the unit square meets itself across both edges.
  for (float t : {0.1f, 0.5f, 0.9f}) {
    EXPECT_NEAR(content::TileableFractal(0, t, 4, 4, 5, 9),
                content::TileableFractal(1, t, 4, 4, 5, 9), 1e-5f);
    EXPECT_NEAR(content::TileableFractal(t, 0, 4, 4, 5, 9),
                content::TileableFractal(t, 1, 4, 4, 5, 9), 1e-5f);
  }
  // Different seeds give different patterns.
  EXPECT_NE(content::Hash01(3, 4, 1), content::Hash01(3, 4, 2));
}

// Pixels that differ from the background colour.
std::set<std::pair<int, int>> Painted(const Canvas& c) {
  std::set<std::pair<int, int>> out;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.at(x, y).r > 0.02f || c.at(x, y).g > 0.02f || c.at(x, y).b > 0.02f) out.insert({x, y});
  return out;
}

TEST(ContentFont, EveryGameTextHasItsGlyphsAndStaysInItsBounds) {
  content::TextStyle style;
  style.cellSize = 3;
  style.outline = 0.4f;
  style.shadowOffset = 0.5f;
  style.slant = 0.15f;
  for (const char* text :
       {"Quillon", "Start race", "Quit", "Choose your car", "Choose your track",
        "Left / Right: pick a car", "Enter: race!   Esc: back", "START", "PIZZA", "911", "gjpqy"}) {
    Canvas c(400, 60);
    content::DrawText(c, text, 200, 20, style);
    content::TextBox box = content::TextBounds(text, 200, 20, style);
    auto painted = Painted(c);
    ASSERT_FALSE(painted.empty()) << text;
    for (auto [x, y] : painted) {
      ASSERT_GE(x + 1, box.x0) << text;
      ASSERT_LE(x, box.x1) << text;
      ASSERT_GE(y + 1, box.y0) << text;
      ASSERT_LE(y, box.y1) << text;
    }
    // Every non-space character paints something: count painted columns per character cell.
    size_t letters = 0;
    for (const char* p = text; *p; ++p) letters += *p != ' ';
    EXPECT_GT(painted.size(), letters * 6) << text;
  }
}

TEST(ContentFont, UnknownCharactersAreSpacesAndWidthGrowsWithText) {
  content::TextStyle style;
  Canvas c(100, 40);
  content::DrawText(c, "~~", 50, 5, style);
  EXPECT_TRUE(Painted(c).empty());
  EXPECT_LT(content::TextWidth("Quit", style), content::TextWidth("Quit race", style));
  EXPECT_LT(content::TextWidth("il", style), content::TextWidth("MW", style));  // proportional
}

TEST(PaletteReduction, KeepsFewColoursExactlyAndIsDeterministic) {
  formats::Picture few(8, 8, {10, 20, 30});
  few.set(3, 3, {200, 100, 0});
  few.set(4, 4, {0, 0, 255});
  auto palette = formats::QuantisePalette(few, 16);
  ASSERT_EQ(palette.size(), 3u);
  for (formats::Rgb c : {formats::Rgb{10, 20, 30}, {200, 100, 0}, {0, 0, 255}})
    EXPECT_EQ(palette[formats::NearestPaletteIndex(palette, c)], c);

  formats::Picture many(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      many.set(x, y, {uint8_t(x * 4), uint8_t(y * 4), uint8_t((x ^ y) * 4)});
  auto reduced = formats::QuantisePalette(many, 16);
  EXPECT_EQ(reduced.size(), 16u);
  EXPECT_EQ(reduced, formats::QuantisePalette(many, 16));
  // Ties go to the lowest index.
  std::vector<formats::Rgb> tie{{0, 0, 0}, {10, 0, 0}};
  EXPECT_EQ(formats::NearestPaletteIndex(tie, {5, 0, 0}), 0);
}

}  // namespace
