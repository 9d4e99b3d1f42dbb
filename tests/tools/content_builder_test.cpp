// The generator's building blocks: canvas filling, wrapping and row order, the pixel font's
// bounds, skin coordinates that sample the colours they promise, decals packed apart, and
// outward normals on boxes and lofts.
#include <gtest/gtest.h>

#include <set>

#include "content/canvas.h"
#include "content/model_builder.h"
#include "content/pixel_font.h"

namespace {

using content::Canvas;
using content::Colour;
using content::SkinAtlas;
using content::Vec3;

TEST(ContentCanvas, FillsWithSmoothEdgesWrapsForTilesAndWritesBottomRowFirst) {
  Canvas c(16, 8);
  c.fillRect(2, 1, 5.5f, 3, {1, 1, 1});
  EXPECT_FLOAT_EQ(c.at(3, 2).r, 1.0f);
  EXPECT_FLOAT_EQ(c.at(5, 2).r, 0.5f);  // half covered
  EXPECT_FLOAT_EQ(c.at(6, 2).r, 0.0f);
  EXPECT_FLOAT_EQ(c.at(3, 0).r, 0.0f);
  // A disc across the right edge comes back in on the left only when wrapping.
  c.fillDisc(15.5f, 6, 1.5f, {0, 1, 0}, 1.0f, true);
  EXPECT_GT(c.at(0, 6).g, 0.8f);
  EXPECT_GT(c.at(15, 6).g, 0.8f);
  Canvas noWrap(16, 8);
  noWrap.fillDisc(15.5f, 6, 1.5f, {0, 1, 0});
  EXPECT_FLOAT_EQ(noWrap.at(0, 6).g, 0.0f);

  Canvas corners(2, 2);
  corners.at(0, 0) = {1, 0, 0};            // top left
  corners.at(1, 1) = {0.5f, 2.0f, -1.0f};  // bottom right, out of range components
  formats::Picture p = corners.toPicture();
  EXPECT_EQ(p.at(0, 1), (formats::Rgb{255, 0, 0}));
  EXPECT_EQ(p.at(1, 0), (formats::Rgb{128, 255, 0}));
}

TEST(ContentFont, EveryGameTextPaintsItsLettersInsideItsBounds) {
  content::TextStyle style{.cellSize = 3, .slant = 0.15f, .outline = 0.4f, .shadowOffset = 0.5f};
  for (const char* text :
       {"Quillon", "Start race", "Quit", "Choose your car", "Choose your track",
        "Left / Right: pick a car", "Enter: race!   Esc: back", "START", "PIZZA", "911", "gjpqy"}) {
    Canvas c(400, 60);
    content::DrawText(c, text, 200, 20, style);
    content::TextBox box = content::TextBounds(text, 200, 20, style);
    size_t painted = 0, letters = 0;
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x) {
        Colour p = c.at(x, y);
        if (p.r <= 0.02f && p.g <= 0.02f && p.b <= 0.02f) continue;
        ++painted;
        ASSERT_GE(x + 1, box.x0) << text << " paints (" << x << ", " << y << ")";
        ASSERT_LE(x, box.x1) << text << " paints (" << x << ", " << y << ")";
        ASSERT_GE(y + 1, box.y0) << text << " paints (" << x << ", " << y << ")";
        ASSERT_LE(y, box.y1) << text << " paints (" << x << ", " << y << ")";
      }
    for (const char* p = text; *p; ++p) letters += *p != ' ';
    EXPECT_GT(painted, letters * 6) << text << " misses glyphs";
  }
}

// The skin colour a file coordinate (s, t) samples: canvas row t, counted from the top.
Colour Sample(const SkinAtlas& atlas, content::Uv uv) {
  const Canvas& c = atlas.canvas();
  return c.at(static_cast<int>(uv.s * c.width()), static_cast<int>(uv.t * c.height()));
}

TEST(SkinAtlas, RampCoordinatesSampleTheShadeAsked) {
  SkinAtlas atlas;
  int red = atlas.addRamp({0.8f, 0.1f, 0.1f});
  int blue = atlas.addRamp({0.1f, 0.2f, 0.9f});
  for (float b : {0.4f, 0.7f, 1.0f, 1.15f})
    for (int ramp : {red, blue}) {
      Colour want = atlas.rampColour(ramp, b), got = Sample(atlas, atlas.rampUv(ramp, b));
      EXPECT_NEAR(got.r, want.r, 0.02f) << b;
      EXPECT_NEAR(got.g, want.g, 0.02f) << b;
      EXPECT_NEAR(got.b, want.b, 0.02f) << b;
    }
  EXPECT_LT(Sample(atlas, atlas.rampUv(red, 0.5f)).r, Sample(atlas, atlas.rampUv(red, 0.9f)).r);

  // A stepped ramp holds few shades, and a brightness near a step boundary still samples the
  // middle of a step, so filtering cannot blend in the neighbour.
  SkinAtlas stepped(256, 4);
  int ramp = stepped.addRamp({0.9f, 0.8f, 0.1f});
  std::set<float> shades;
  for (int x = 0; x < 128; ++x) shades.insert(stepped.canvas().at(x, 4).r);
  EXPECT_EQ(shades.size(), 4u);
  content::Uv uv = stepped.rampUv(ramp, 0.5249f);
  int x = static_cast<int>(uv.s * 256);
  EXPECT_EQ(Sample(stepped, uv).r, stepped.canvas().at(x - 3, 4).r);
  EXPECT_EQ(Sample(stepped, uv).r, stepped.canvas().at(x + 3, 4).r);
}

TEST(SkinAtlas, DecalsArePackedApartAndMapTheirCorners) {
  SkinAtlas atlas;
  std::vector<std::tuple<float, float, float, float>> rects;
  auto paint = [&](Canvas& c, float x0, float y0, float w, float h) {
    rects.push_back({x0, y0, w, h});
    c.fillRect(x0, y0, x0 + w, y0 + h, {1, 1, 1});
  };
  for (auto [w, h] : {std::pair{100, 40}, {60, 60}, {20, 20}}) atlas.addDecal(w, h, paint);
  ASSERT_EQ(rects.size(), 3u);
  for (size_t i = 0; i < rects.size(); ++i) {
    auto [x0, y0, w, h] = rects[i];
    EXPECT_GE(x0, 128);  // the left half holds the ramps
    for (size_t j = i + 1; j < rects.size(); ++j) {
      auto [x1, y1, w1, h1] = rects[j];
      EXPECT_FALSE(x0 < x1 + w1 && x1 < x0 + w && y0 < y1 + h1 && y1 < y0 + h) << i << " " << j;
    }
    // Corner (0, 0) is the decal's bottom left texel, (1, 1) its top right.
    content::Uv bl = atlas.decalUv(int(i), 0, 0), tr = atlas.decalUv(int(i), 1, 1);
    EXPECT_NEAR(bl.s * 256, x0 + 0.5f, 1e-3f);
    EXPECT_NEAR(bl.t * 256, y0 + h - 0.5f, 1e-3f);
    EXPECT_NEAR(tr.s * 256, x0 + w - 0.5f, 1e-3f);
    EXPECT_NEAR(tr.t * 256, y0 + 0.5f, 1e-3f);
  }
  EXPECT_THROW(atlas.addDecal(200, 10, paint), std::length_error);
}

TEST(MeshBuilder, BoxesAndLoftsHaveUnitOutwardNormals) {
  SkinAtlas atlas;
  int ramp = atlas.addRamp({1, 1, 1});
  formats::Ms3dMesh box;
  content::MeshBuilder b(box);
  b.beginGroup("box", 0);
  const Vec3 centre{1, 2, 3};
  b.box(atlas, ramp, centre, {2, 1, 0.5f});
  ASSERT_EQ(box.triangles.size(), 12u);
  for (const auto& t : box.triangles) {
    Vec3 mid;
    for (int i = 0; i < 3; ++i) {
      auto p = box.vertices[t.vertexIndices[i]].position;
      mid = mid + Vec3{p[0], p[1], p[2]} * (1.0f / 3);
    }
    Vec3 n{t.vertexNormals[0][0], t.vertexNormals[0][1], t.vertexNormals[0][2]};
    EXPECT_GT(content::Dot(n, mid - centre), 0) << "normal points inwards";
    EXPECT_NEAR(content::Dot(n, n), 1.0f, 1e-5f);
  }

  auto loft =
      content::MakeLoft({{0, 4, -2, 2, 2.0f}, {5, 5, -3, 3, 2.0f}, {10, 4, -2, 2, 2.0f}}, 12);
  ASSERT_EQ(loft.points.size(), 3u);
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 12; ++j) {
      Vec3 p = loft.points[i][j];
      EXPECT_GT(content::Dot(loft.normals[i][j], Vec3{p.x, p.y, 0}), 0) << i << " " << j;
    }
  // An open shell keeps only the chosen strips round the section.
  formats::Ms3dMesh closed, open;
  content::MeshBuilder bc(closed), bo(open);
  bc.beginGroup("closed", 0);
  content::EmitLoft(bc, atlas, ramp, loft);
  bo.beginGroup("open", 0);
  content::EmitLoft(
      bo, atlas, ramp, loft, nullptr, [](size_t column) { return column < 6; }, false);
  EXPECT_EQ(closed.triangles.size(), 2u * 12 * 2 + 2 * 12);
  EXPECT_EQ(open.triangles.size(), 2u * 6 * 2);
}

}  // namespace
