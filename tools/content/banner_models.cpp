// The start banners: an arch over the start line on two striped posts, with a "START" board
// in the colours of its track. The concrete feet are a group without a material, drawn plain.
#include <cmath>

#include "content/model_builder.h"
#include "content/models.h"
#include "content/pixel_font.h"

namespace content {

namespace {

struct BannerColours {
  Colour primary, secondary, text, outline;
  const char* skin;
  formats::BmpOptions options;
};

BannerColours ColoursOf(int track) {
  formats::BmpOptions rle4;
  rle4.format = formats::BmpPixelFormat::Rle4;
  formats::BmpOptions core8;
  core8.format = formats::BmpPixelFormat::Indexed8;
  core8.header = formats::BmpHeaderKind::Core12;
  formats::BmpOptions plain4;
  plain4.format = formats::BmpPixelFormat::Indexed4;
  switch (track) {
    case 1:
      return {Rgb255(30, 80, 210), Rgb255(240, 244, 250), Rgb255(255, 255, 255),
              Rgb255(10, 30, 90),  "bannerStart1.bmp",    core8};
    case 2:
      return {Rgb255(250, 206, 20), Rgb255(28, 28, 28), Rgb255(20, 20, 20),
              Rgb255(250, 206, 20), "bannerStart2.bmp", plain4};
    default:
      return {Rgb255(215, 30, 30), Rgb255(240, 240, 240), Rgb255(255, 255, 255),
              Rgb255(90, 10, 10),  "bannerStart.bmp",     rle4};
  }
}

}  // namespace

ModelContent StartBanner(int track) {
  const BannerColours k = ColoursOf(track);
  // Four flat shades per colour keep the 16-colour skins exact.
  SkinAtlas atlas(256, 4, Lighting::Banner);
  const int primary = atlas.addRamp(k.primary);
  const int secondary = atlas.addRamp(k.secondary);

  const float postX = kBannerRoadHalfWidth + 10, postHalf = 4;
  const float postTop = 30, archTop = 52;
  const float boardY = 27, boardHalfW = 46, boardHalfH = 10;

  // The board's face: "START" between two chequered strips.
  const float front = Brightness({0, 0, 1}, Lighting::Banner);
  const int board = atlas.addDecal(124, 30, [&](Canvas& c, float x0, float y0, float w, float h) {
    c.fillRect(x0, y0, x0 + w, y0 + h, atlas.rampColour(primary, front));
    const float square = 4;
    for (int i = 0; i * square < w; ++i)
      for (int row = 0; row < 2; ++row) {
        float y = row == 0 ? y0 : y0 + h - square;
        Colour col = (i + row) % 2 ? atlas.rampColour(secondary, front) : k.outline;
        c.fillRect(x0 + i * square, y, std::min(x0 + w, x0 + (i + 1) * square), y + square, col);
      }
    TextStyle s;
    s.cellSize = 2.5f;
    s.strokeRadius = 0.62f;
    s.spacing = 1.6f;
    s.fill = k.text;
    s.outline = 0.35f;
    s.outlineColour = k.outline;
    DrawText(c, "START", x0 + w / 2, y0 + (h - 7 * s.cellSize) / 2, s);
  });
  // The posts' stripes, one decal per side of a post.
  auto stripes = [&](Vec3 normal) {
    return atlas.addDecal(8, 64, [&, normal](Canvas& c, float x0, float y0, float w, float h) {
      float b = Brightness(normal, Lighting::Banner);
      for (int i = 0; i < 8; ++i)
        c.fillRect(x0, y0 + i * h / 8, x0 + w, y0 + (i + 1) * h / 8,
                   atlas.rampColour(i % 2 ? secondary : primary, b));
    });
  };
  const int stripeFaces[6] = {stripes({1, 0, 0}), stripes({-1, 0, 0}), -1, -1,
                              stripes({0, 0, 1}), stripes({0, 0, -1})};

  formats::Ms3dMesh mesh;
  mesh.materials.push_back(SkinMaterial("banner skin", k.skin));
  MeshBuilder b(mesh);
  b.beginGroup("posts", 0);
  const float postBottom = kBannerRoadY - 0.5f;
  for (float side : {-1.0f, 1.0f})
    b.box(atlas, primary, {side * postX, (postBottom + postTop) / 2, 0},
          {postHalf, (postTop - postBottom) / 2, postHalf}, stripeFaces);
  // The arch: a band along an elliptic arc from post top to post top, in alternating colours.
  b.beginGroup("arch", 0);
  const int pieces = 14;
  const float depth = 3;
  auto arc = [&](float a, float grow) {
    return Vec3{-std::cos(a) * (postX + grow), postTop + std::sin(a) * (archTop - postTop + grow),
                0};
  };
  for (int i = 0; i < pieces; ++i) {
    float a0 = 3.14159265f * i / pieces, a1 = 3.14159265f * (i + 1) / pieces;
    int ramp = i % 2 ? secondary : primary;
    Vec3 in0 = arc(a0, -3), in1 = arc(a1, -3), out0 = arc(a0, 3), out1 = arc(a1, 3);
    Vec3 f{0, 0, depth}, r{0, 0, -depth};
    b.flatQuad(atlas, ramp, in0 + f, in1 + f, out1 + f, out0 + f);
    b.flatQuad(atlas, ramp, in1 + r, in0 + r, out0 + r, out1 + r);
    b.flatQuad(atlas, ramp, out0 + f, out1 + f, out1 + r, out0 + r);
    b.flatQuad(atlas, ramp, in1 + f, in0 + f, in0 + r, in1 + r);
  }
  b.beginGroup("board", 0);
  {
    const int faces[6] = {-1, -1, -1, -1, board, board};
    b.box(atlas, secondary, {0, boardY, 0}, {boardHalfW, boardHalfH, 1.5f}, faces);
    // Two rods from the arch down to the board.
    for (float side : {-1.0f, 1.0f})
      b.box(atlas, secondary, {side * boardHalfW * 0.7f, (boardY + boardHalfH + archTop) / 2, 0},
            {0.8f, (archTop - boardY - boardHalfH) / 2 + 1, 0.8f});
  }
  // Concrete feet: no material, so they are drawn untextured in plain white.
  b.beginGroup("feet", -1);
  for (float side : {-1.0f, 1.0f})
    b.box(atlas, primary, {side * postX, postBottom + 2, 0},
          {postHalf + 2.5f, 2.5f, postHalf + 2.5f});

  const std::string names[3] = {"bannerStart.ms3d", "bannerStart1.ms3d", "bannerStart2.ms3d"};
  ModelContent m{names[std::clamp(track, 0, 2)], std::move(mesh), {}};
  m.skins.push_back({k.skin, atlas.canvas(), k.options});
  return m;
}

}  // namespace content
