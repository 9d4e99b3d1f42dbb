// The three cars: SMiLE, a round yellow bubble car grinning from its nose; 911PIZ, a red pizza
// delivery car with the box on its roof; FlyingTaco, a taco-shaped hover car.
#include <cmath>

#include "content/model_builder.h"
#include "content/models.h"
#include "content/pixel_font.h"

namespace content {

namespace {

constexpr float kPi = 3.14159265f;

// Paints a decal whose base is the ramp colour of an approximate surface normal per pixel, so
// it blends with the ramp-shaded triangles round it. normalAt takes (u, v), v up.
void ShadedBase(Canvas& c, const SkinAtlas& atlas, int ramp, float x0, float y0, float w, float h,
                const std::function<Vec3(float, float)>& normalAt) {
  for (int y = static_cast<int>(y0); y < y0 + h; ++y)
    for (int x = static_cast<int>(x0); x < x0 + w; ++x) {
      float u = (x + 0.5f - x0) / w, v = 1 - (y + 0.5f - y0) / h;
      c.at(x, y) = atlas.rampColour(ramp, Brightness(normalAt(u, v)));
    }
}

struct Decal {
  // Pixel position of decal point (u, v).
  float x0, y0, w, h;
  float X(float u) const { return x0 + u * w; }
  float Y(float v) const { return y0 + (1 - v) * h; }
};

void Wheels(MeshBuilder& b, const SkinAtlas& atlas, int tread, int hub, float x, float r, float hw,
            std::initializer_list<float> zs) {
  for (float z : zs)
    for (float side : {-1.0f, 1.0f})
      b.wheel(atlas, tread, hub, {side * x, kCarGroundY + r, z}, r, hw);
}

// The cars are modelled compact and then stretched: longer towards the nose and taller, so the
// chase view, whose camera sits just behind and above the car's position, sees the roof and
// the back over the bottom of the screen, while the tail stays in front of the near plane.
void Stretch(formats::Ms3dMesh& mesh) {
  for (formats::Ms3dVertex& v : mesh.vertices) {
    v.position[1] = kCarGroundY + (v.position[1] - kCarGroundY) * kCarStretchY;
    v.position[2] = v.position[2] * kCarStretchZ + kCarShiftZ;
  }
}

ModelContent Finish(const std::string& file, formats::Ms3dMesh mesh, const std::string& skinFile,
                    SkinAtlas& atlas, formats::BmpOptions options) {
  Stretch(mesh);
  ModelContent m{file, std::move(mesh), {}};
  m.skins.push_back({skinFile, atlas.canvas(), options});
  return m;
}

}  // namespace

ModelContent SmileCar() {
  SkinAtlas atlas;
  const int yellow = atlas.addRamp(Rgb255(255, 196, 30));
  const int glass = atlas.addRamp(Rgb255(110, 170, 215));
  const int tyre = atlas.addRamp(Rgb255(40, 40, 46));
  const int hub = atlas.addRamp(Rgb255(210, 214, 224));
  const int red = atlas.addRamp(Rgb255(230, 40, 30));
  // The face on the nose: headlight eyes, rosy cheeks and a wide smile.
  const float faceBottom = -19.5f, faceTop = -1.5f, faceHalfWidth = 14.5f;
  auto faceNormal = [](float u, float v) {
    return Vec3{(2 * u - 1) * 1.1f, (2 * v - 1) * 0.8f + 0.15f, 1.0f};
  };
  const int face = atlas.addDecal(120, 88, [&](Canvas& c, float x0, float y0, float w, float h) {
    ShadedBase(c, atlas, yellow, x0, y0, w, h, faceNormal);
    Decal d{x0, y0, w, h};
    for (float side : {0.3f, 0.7f}) {
      c.fillDisc(d.X(side), d.Y(0.68f), w * 0.12f, Rgb255(40, 30, 20));
      c.fillDisc(d.X(side), d.Y(0.68f), w * 0.10f, Rgb255(250, 250, 240));
      c.fillDisc(d.X(side + 0.01f), d.Y(0.71f), w * 0.045f, Rgb255(30, 30, 40));
      c.fillDisc(d.X(side + 0.025f), d.Y(0.74f), w * 0.015f, Rgb255(255, 255, 255));
      c.fillDisc(d.X(side < 0.5f ? 0.14f : 0.86f), d.Y(0.42f), w * 0.06f, Rgb255(255, 120, 90),
                 0.6f);
    }
    // The smile: the band between two arcs, dark outside, red inside.
    const float cx = d.X(0.5f), cy = d.Y(0.62f);
    auto smile = [&](float grow) {
      return [=](float x, float y) {
        float dx = (x - cx) / w, dy = (y - cy) / h;
        float r = std::sqrt(dx * dx + dy * dy);
        return y > cy && r < 0.40f + grow && r > 0.29f - grow * 0.5f &&
               std::fabs(dx) < 0.33f + grow;
      };
    };
    c.fillShape(x0, y0, x0 + w, y0 + h, smile(0.02f), Rgb255(60, 20, 20));
    c.fillShape(x0, y0, x0 + w, y0 + h, smile(0.0f), Rgb255(200, 40, 50));
  });

  // The back: a number plate with the car's name, for the chase view.
  const float rearBottom = -19.5f, rearTop = 1.0f, rearHalfWidth = 13.5f;
  const int rear = atlas.addDecal(100, 76, [&](Canvas& c, float x0, float y0, float w, float h) {
    ShadedBase(c, atlas, yellow, x0, y0, w, h, [](float u, float v) {
      return Vec3{(1 - 2 * u) * 1.1f, (2 * v - 1) * 0.8f + 0.15f, -1.0f};
    });
    Decal d{x0, y0, w, h};
    c.fillRoundedRect(d.X(0.22f), d.Y(0.46f), d.X(0.78f), d.Y(0.24f), 2, Rgb255(40, 40, 40));
    c.fillRoundedRect(d.X(0.23f), d.Y(0.45f), d.X(0.77f), d.Y(0.25f), 2, Rgb255(245, 245, 235));
    TextStyle plate;
    plate.cellSize = 1.7f;
    plate.strokeRadius = 0.6f;
    plate.fill = Rgb255(30, 30, 60);
    DrawText(c, "SMiLE", d.X(0.5f), d.Y(0.35f) - 3.5f * plate.cellSize, plate);
  });

  formats::Ms3dMesh mesh;
  mesh.materials.push_back(SkinMaterial("smile skin", "wingman.bmp"));
  MeshBuilder b(mesh);
  b.beginGroup("body", 0);
  LoftSurface body = MakeLoft({{-9.5f, 7, -15, -6, 2.2f},
                               {-7.5f, 11, -17.5f, -1.5f, 2.4f},
                               {-3, 13.5f, -18.8f, 2, 2.6f},
                               {6, 14.5f, -19.2f, 3.5f, 2.6f},
                               {16, 14.5f, -19.2f, 2.5f, 2.6f},
                               {25, 14, -19, -2.5f, 2.6f},
                               {32, 12.5f, -18.5f, -6.5f, 2.5f},
                               {36.5f, 10, -17.5f, -9, 2.3f},
                               {39.5f, 5.5f, -16, -11.5f, 2.2f}},
                              16);
  EmitLoft(b, atlas, yellow, body, [&](Vec3 centre, Vec3 normal) {
    DecalMapping m;
    if (centre.z < -3 && normal.z < -0.45f) {
      m.decal = rear;
      m.map = [=](Vec3 p) {
        return std::pair{(rearHalfWidth - p.x) / (2 * rearHalfWidth),
                         (p.y - rearBottom) / (rearTop - rearBottom)};
      };
    } else if (centre.z > 22 && normal.z > 0.4f) {
      m.decal = face;
      m.map = [=](Vec3 p) {
        return std::pair{(p.x + faceHalfWidth) / (2 * faceHalfWidth),
                         (p.y - faceBottom) / (faceTop - faceBottom)};
      };
    }
    return m;
  });
  b.beginGroup("bubble", 0);
  LoftSurface bubble = MakeLoft({{-2, 5, 0, 3, 2.0f},
                                 {1, 8.5f, -1, 6, 2.0f},
                                 {8, 9.5f, -1, 7.5f, 2.0f},
                                 {15, 8.5f, -1, 5.5f, 2.0f},
                                 {19, 5, 0, 2.5f, 2.0f}},
                                14);
  EmitLoft(b, atlas, glass, bubble);
  b.beginGroup("lights and wheels", 0);
  for (float side : {-1.0f, 1.0f})
    b.box(atlas, red, {side * 6.5f, -8.5f, -9.3f}, {2.4f, 1.3f, 0.6f});
  Wheels(b, atlas, tyre, hub, 12.8f, 4.6f, 2.0f, {1.5f, 28.0f});
  formats::BmpOptions options;
  options.format = formats::BmpPixelFormat::Rgb24;
  return Finish("wingman.ms3d", std::move(mesh), "wingman.bmp", atlas, options);
}

ModelContent PizzaCar() {
  SkinAtlas atlas;
  const int red = atlas.addRamp(Rgb255(215, 32, 28));
  const int white = atlas.addRamp(Rgb255(236, 236, 232));
  const int glass = atlas.addRamp(Rgb255(50, 80, 110));
  const int tyre = atlas.addRamp(Rgb255(36, 36, 40));
  const int hub = atlas.addRamp(Rgb255(190, 190, 200));
  const int cardboard = atlas.addRamp(Rgb255(206, 160, 100));
  const int lamp = atlas.addRamp(Rgb255(255, 240, 160));
  const int tail = atlas.addRamp(Rgb255(255, 40, 30));

  auto flatBase = [&](Canvas& c, int ramp, Vec3 normal, float x0, float y0, float w, float h) {
    c.fillRect(x0, y0, x0 + w, y0 + h, atlas.rampColour(ramp, Brightness(normal)));
  };
  TextStyle label;
  label.strokeRadius = 0.65f;
  label.fill = Rgb255(200, 20, 20);
  label.outline = 0.3f;
  label.outlineColour = Rgb255(255, 255, 255);
  // The box lid: a pizza with "PIZZA" over it, read from behind the car.
  const int lid = atlas.addDecal(96, 96, [&](Canvas& c, float x0, float y0, float w, float h) {
    flatBase(c, cardboard, {0, 1, 0}, x0, y0, w, h);
    float cx = x0 + w / 2, cy = y0 + h * 0.58f;
    c.fillDisc(cx, cy, w * 0.3f, Rgb255(190, 110, 40));
    c.fillDisc(cx, cy, w * 0.26f, Rgb255(230, 80, 40));
    for (int i = 0; i < 7; ++i) {
      float a = i * 2 * kPi / 7;
      c.fillDisc(cx + std::cos(a) * w * 0.15f, cy + std::sin(a) * w * 0.15f, w * 0.04f,
                 Rgb255(150, 20, 30));
      c.fillDisc(cx + std::cos(a + 0.4f) * w * 0.08f, cy + std::sin(a + 0.4f) * w * 0.08f,
                 w * 0.03f, Rgb255(255, 230, 140));
    }
    TextStyle s = label;
    s.cellSize = 2.5f;
    DrawText(c, "PIZZA", cx, y0 + 4, s);
  });
  auto sideText = [&](const char* text, int ramp, Vec3 normal, float cell, int w, int h) {
    return atlas.addDecal(
        w, h, [&, text, ramp, normal, cell](Canvas& c, float x0, float y0, float ww, float hh) {
          flatBase(c, ramp, normal, x0, y0, ww, hh);
          TextStyle s = label;
          s.cellSize = cell;
          DrawText(c, text, x0 + ww / 2, y0 + (hh - 7 * cell) / 2, s);
        });
  };
  const int boxBack = sideText("PIZZA", cardboard, {0, 0, -1}, 2.2f, 96, 28);
  const int boxSideL = sideText("911", cardboard, {1, 0, 0}, 2.2f, 64, 28);
  const int boxSideR = sideText("911", cardboard, {-1, 0, 0}, 2.2f, 64, 28);
  // Doors: "911" in white on the red flanks.
  TextStyle doorStyle = label;
  doorStyle.fill = Rgb255(255, 255, 255);
  doorStyle.outlineColour = Rgb255(120, 10, 10);
  const float doorZ0 = 2, doorZ1 = 22, doorY0 = -17, doorY1 = -5;
  const int door = atlas.addDecal(100, 44, [&](Canvas& c, float x0, float y0, float w, float h) {
    ShadedBase(c, atlas, red, x0, y0, w, h, [](float, float v) {
      return Vec3{1, (v - 0.5f) * 0.6f, 0};
    });
    c.fillRect(x0, y0 + h * 0.78f, x0 + w, y0 + h * 0.88f, Rgb255(240, 240, 240));
    TextStyle s = doorStyle;
    s.cellSize = 3.2f;
    DrawText(c, "911", x0 + w / 2, y0 + h * 0.2f, s);
  });

  formats::Ms3dMesh mesh;
  mesh.materials.push_back(SkinMaterial("pizza car skin", "pizzacar.bmp"));
  MeshBuilder b(mesh);
  b.beginGroup("body", 0);
  LoftSurface body = MakeLoft({{-9.5f, 12, -18, -7, 4},
                               {-8.5f, 13, -18.6f, -4, 5},
                               {20, 13, -18.6f, -4.5f, 5},
                               {29, 12.6f, -18.2f, -8, 5},
                               {36.5f, 11.8f, -17.2f, -10.5f, 4.5f},
                               {38.5f, 9.5f, -16.2f, -12.5f, 4}},
                              20);
  EmitLoft(b, atlas, red, body, [&](Vec3 centre, Vec3 normal) {
    DecalMapping m;
    if (std::fabs(normal.x) > 0.8f && centre.z > doorZ0 && centre.z < doorZ1 && centre.y > doorY0 &&
        centre.y < doorY1) {
      m.decal = door;
      bool left = normal.x > 0;  // +x flank: seen from +x the car points right
      m.map = [=](Vec3 p) {
        float along = (p.z - doorZ0) / (doorZ1 - doorZ0);
        return std::pair{left ? 1 - along : along, (p.y - doorY0) / (doorY1 - doorY0)};
      };
    }
    return m;
  });
  b.beginGroup("cabin", 0);
  LoftSurface cabin = MakeLoft({{-7.5f, 11.5f, -5, 2.5f, 5},
                                {8, 11.5f, -5, 3, 5},
                                {13, 11, -5, 1, 5},
                                {18, 10.5f, -5, -4, 5}},
                               20);
  EmitLoft(b, atlas, glass, cabin);
  b.box(atlas, white, {0, 3.4f, 1}, {11.8f, 0.9f, 9.2f});
  b.beginGroup("pizza box", 0);
  {
    // The box: lid and back labelled for the chase view; the sides carry the number.
    const Vec3 c{0, 6.1f, 1.5f}, h{8, 1.8f, 7.5f};
    const int faces[6] = {boxSideL, boxSideR, -1, -1, -1, boxBack};
    b.box(atlas, cardboard, c, h, faces);
    // Lid drawn just above the box top, oriented so the text reads from behind.
    float y = c.y + h.y + 0.02f;
    b.decalQuad(atlas, lid, {c.x + h.x, y, c.z - h.z}, {c.x - h.x, y, c.z - h.z},
                {c.x - h.x, y, c.z + h.z}, {c.x + h.x, y, c.z + h.z});
  }
  b.beginGroup("lamps and wheels", 0);
  for (float side : {-1.0f, 1.0f}) {
    b.box(atlas, tail, {side * 9, -9.5f, -9.4f}, {2.6f, 1.5f, 0.5f});
    b.box(atlas, lamp, {side * 7.5f, -12.5f, 38.2f}, {2.4f, 1.4f, 0.6f});
  }
  b.box(atlas, white, {0, -17.5f, -9.6f}, {12, 1.2f, 0.8f});
  Wheels(b, atlas, tyre, hub, 12.6f, 5.0f, 2.2f, {0.5f, 29.0f});
  formats::BmpOptions options;
  options.format = formats::BmpPixelFormat::Rgb32;
  options.fileHeader = false;
  return Finish("pizzacar.ms3d", std::move(mesh), "pizzacar.bmp", atlas, options);
}

ModelContent FlyingTaco() {
  SkinAtlas atlas;
  const int shell = atlas.addRamp(Rgb255(236, 184, 70));
  const int lettuce = atlas.addRamp(Rgb255(90, 180, 50));
  const int metal = atlas.addRamp(Rgb255(120, 130, 150));
  const int glow = atlas.addRamp(Rgb255(90, 230, 255));
  const int flame = atlas.addRamp(Rgb255(255, 140, 40));
  // The filling seen from above: lettuce, tomato, cheese and meat.
  const float tacoZ0 = -10, tacoZ1 = 39;
  const int filling = atlas.addDecal(64, 120, [&](Canvas& c, float x0, float y0, float w, float h) {
    c.fillRect(x0, y0, x0 + w, y0 + h, Rgb255(120, 66, 36));  // seasoned meat
    for (int i = 0; i < 150; ++i) {
      float x = x0 + w * std::fmod(i * 0.618034f, 1.0f);
      float y = y0 + h * std::fmod(i * 0.414214f + 0.1f, 1.0f);
      switch (i % 4) {
        case 0:  // lettuce
          c.fillDisc(x, y, 4.5f, atlas.rampColour(lettuce, 0.9f + 0.2f * (i % 3)));
          break;
        case 1:  // tomato
          c.fillDisc(x, y, 2.6f, Rgb255(225, 40, 35));
          break;
        case 2:  // cheese
          c.drawLine(x - 2.5f, y - 1, x + 2.5f, y + 1, 1.4f, Rgb255(255, 214, 60));
          break;
        default:  // sour cream
          c.fillDisc(x, y, 1.6f, Rgb255(250, 246, 230));
      }
    }
  });
  formats::Ms3dMesh mesh;
  mesh.materials.push_back(SkinMaterial("taco skin", "flyingtaco.bmp"));
  MeshBuilder b(mesh);
  b.beginGroup("shell", 0);
  // Seen from the side a half-moon: deepest in the middle, pinched at both ends. The shell is
  // the lower part of each section only: an open U that the filling shows through.
  std::vector<LoftStation> shellStations, fillingStations;
  const int around = 20;
  for (int i = 0; i <= 12; ++i) {
    float f = i / 12.0f;
    float z = tacoZ0 + 0.5f + f * (tacoZ1 - tacoZ0 - 1);
    float round = std::sqrt(std::max(0.0f, 1 - (2 * f - 1) * (2 * f - 1)));
    float body = 0.12f + 0.88f * round;
    shellStations.push_back({z, 2 + 9 * body, 3 - 19 * body, 3 + 1.5f * body, 2.0f});
    float wave = 0.8f * std::sin(f * 37.0f);
    fillingStations.push_back(
        {z, 1 + 7 * body, 2 - 12 * body, 3.5f + 2.2f * body + wave * body, 2.0f});
  }
  LoftSurface taco = MakeLoft(shellStations, around);
  EmitLoft(
      b, atlas, shell, taco, nullptr,
      [&](size_t column) {
        // Columns run anticlockwise from +x; drop the ones whose strip lies on top.
        float a = 6.2831853f * (column + 0.5f) / around;
        return std::sin(a) < 0.8f;
      },
      false);
  b.beginGroup("filling", 0);
  LoftSurface stuffing = MakeLoft(fillingStations, 16);
  EmitLoft(b, atlas, lettuce, stuffing, [&](Vec3, Vec3 normal) {
    DecalMapping m;
    if (normal.y > 0.6f) {
      m.decal = filling;
      m.map = [=](Vec3 p) { return std::pair{(p.x + 6) / 12, (p.z - tacoZ0) / (tacoZ1 - tacoZ0)}; };
    }
    return m;
  });
  // Hover gear: two pods under the shell with glowing undersides, twin thrusters behind.
  b.beginGroup("hover gear", 0);
  for (float z : {2.0f, 26.0f}) {
    b.box(atlas, metal, {0, -15.5f, z}, {7, 1.2f, 3.5f});
    b.box(atlas, glow, {0, -17.1f, z}, {6, 0.4f, 3});
  }
  for (float side : {-1.0f, 1.0f}) {
    b.box(atlas, metal, {side * 4.5f, -5, -7}, {2.2f, 2.2f, 3});
    b.box(atlas, flame, {side * 4.5f, -5, -10.1f}, {1.5f, 1.5f, 0.15f});
  }
  formats::BmpOptions options;
  options.format = formats::BmpPixelFormat::Indexed8;
  options.dither = true;
  options.shortColourTable = true;
  return Finish("flyingtaco.ms3d", std::move(mesh), "flyingtaco.bmp", atlas, options);
}

}  // namespace content
