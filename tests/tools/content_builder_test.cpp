// The model building blocks: skin coordinates sample the colours they promise, decals are
// packed without overlap, boxes and lofts have outward normals, and shared corners are shared.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "content/model_builder.h"

namespace {

using content::Colour;
using content::SkinAtlas;
using content::Vec3;

// The skin colour a file coordinate (s, t) samples: the model loader draws (s, -t), which with
// repeat wrapping is row 1 - t of the upright picture, i.e. canvas row t (counted from the top).
Colour Sample(const SkinAtlas& atlas, content::Uv uv) {
  const auto& c = atlas.canvas();
  int x = static_cast<int>(uv.s * c.width());
  int y = static_cast<int>(uv.t * c.height());
  return c.at(x, y);
}

TEST(SkinAtlas, RampCoordinatesSampleTheShadeAsked) {
  SkinAtlas atlas;
  int red = atlas.addRamp({0.8f, 0.1f, 0.1f});
  int blue = atlas.addRamp({0.1f, 0.2f, 0.9f});
  for (float b : {0.4f, 0.7f, 1.0f, 1.15f}) {
    for (int ramp : {red, blue}) {
      Colour want = atlas.rampColour(ramp, b), got = Sample(atlas, atlas.rampUv(ramp, b));
      EXPECT_NEAR(got.r, want.r, 0.02f) << b;
      EXPECT_NEAR(got.g, want.g, 0.02f) << b;
      EXPECT_NEAR(got.b, want.b, 0.02f) << b;
    }
  }
  // Brighter surfaces sample brighter texels.
  EXPECT_LT(Sample(atlas, atlas.rampUv(red, 0.5f)).r, Sample(atlas, atlas.rampUv(red, 0.9f)).r);
}

TEST(SkinAtlas, SteppedRampsHoldFewColours) {
  SkinAtlas atlas(256, 4);
  int ramp = atlas.addRamp({0.9f, 0.8f, 0.1f});
  std::set<std::tuple<float, float, float>> colours;
  for (int x = 0; x < 128; ++x) {
    Colour c = atlas.canvas().at(x, 4);
    colours.insert({c.r, c.g, c.b});
  }
  EXPECT_EQ(colours.size(), 4u);
  // A brightness near a step boundary still lands in the middle of a step.
  content::Uv uv = atlas.rampUv(ramp, 0.5249f);
  Colour got = Sample(atlas, uv);
  Colour left = atlas.canvas().at(static_cast<int>(uv.s * 256) - 3, 4);
  Colour right = atlas.canvas().at(static_cast<int>(uv.s * 256) + 3, 4);
  EXPECT_EQ(got.r, left.r);
  EXPECT_EQ(got.r, right.r);
}

TEST(SkinAtlas, DecalsArePackedApartAndMapTheirCorners) {
  SkinAtlas atlas;
  std::vector<std::tuple<float, float, float, float>> rects;
  auto paint = [&](content::Canvas& c, float x0, float y0, float w, float h) {
    rects.push_back({x0, y0, w, h});
    c.fillRect(x0, y0, x0 + w, y0 + h, {1, 1, 1});
  };
  int a = atlas.addDecal(100, 40, paint);
  int b = atlas.addDecal(60, 60, paint);
  int c = atlas.addDecal(20, 20, paint);
  ASSERT_EQ(rects.size(), 3u);
  for (size_t i = 0; i < rects.size(); ++i) {
    auto [x0, y0, w, h] = rects[i];
    EXPECT_GE(x0, 128);  // the left half holds the ramps
    for (size_t j = i + 1; j < rects.size(); ++j) {
      auto [x1, y1, w1, h1] = rects[j];
      EXPECT_FALSE(x0 < x1 + w1 && x1 < x0 + w && y0 < y1 + h1 && y1 < y0 + h) << i << " " << j;
    }
  }
  // Corner (0, 0) is the decal's bottom left, (1, 1) its top right, both inside it.
  for (int d : {a, b, c}) {
    auto [x0, y0, w, h] = rects[d];
    content::Uv bl = atlas.decalUv(d, 0, 0), tr = atlas.decalUv(d, 1, 1);
    EXPECT_NEAR(bl.s * 256, x0 + 0.5f, 1e-3f);
    EXPECT_NEAR(bl.t * 256, y0 + h - 0.5f, 1e-3f);
    EXPECT_NEAR(tr.s * 256, x0 + w - 0.5f, 1e-3f);
    EXPECT_NEAR(tr.t * 256, y0 + 0.5f, 1e-3f);
  }
  EXPECT_THROW(atlas.addDecal(200, 10, paint), std::length_error);
}

TEST(MeshBuilder, BoxHasOutwardNormalsAndSharedCorners) {
  formats::Ms3dMesh mesh;
  content::MeshBuilder b(mesh);
  SkinAtlas atlas;
  int ramp = atlas.addRamp({1, 1, 1});
  b.beginGroup("box", 0);
  const Vec3 centre{1, 2, 3};
  b.box(atlas, ramp, centre, {2, 1, 0.5f});
  EXPECT_EQ(mesh.vertices.size(), 8u);
  ASSERT_EQ(mesh.triangles.size(), 12u);
  ASSERT_EQ(mesh.groups.size(), 1u);
  EXPECT_EQ(mesh.groups[0].triangleIndices.size(), 12u);
  for (const auto& t : mesh.triangles) {
    Vec3 mid;
    for (int i = 0; i < 3; ++i) {
      auto p = mesh.vertices[t.vertexIndices[i]].position;
      mid = mid + Vec3{p[0], p[1], p[2]} * (1.0f / 3);
    }
    Vec3 n{t.vertexNormals[0][0], t.vertexNormals[0][1], t.vertexNormals[0][2]};
    EXPECT_GT(content::Dot(n, mid - centre), 0) << "normal points inwards";
    EXPECT_NEAR(content::Dot(n, n), 1.0f, 1e-5f);
  }
  // A degenerate triangle is skipped.
  b.triangle({centre, centre, centre}, {Vec3{0, 1, 0}, {0, 1, 0}, {0, 1, 0}}, {});
  EXPECT_EQ(mesh.triangles.size(), 12u);
}

TEST(MeshBuilder, LoftNormalsPointAwayFromTheAxisAndOpenShellsDropColumns) {
  auto loft =
      content::MakeLoft({{0, 4, -2, 2, 2.0f}, {5, 5, -3, 3, 2.0f}, {10, 4, -2, 2, 2.0f}}, 12);
  ASSERT_EQ(loft.points.size(), 3u);
  for (size_t i = 0; i < 3; ++i)
    for (size_t j = 0; j < 12; ++j) {
      Vec3 p = loft.points[i][j];
      Vec3 radial{p.x, p.y, 0};
      EXPECT_GT(content::Dot(loft.normals[i][j], radial), 0) << i << " " << j;
    }
  SkinAtlas atlas;
  int ramp = atlas.addRamp({1, 1, 1});
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
