// Building blocks for the low-poly models: a skin atlas of shading ramps and painted decals,
// and a mesh builder that shades each corner by choosing where it samples the skin.
//
// The game draws models without lighting, in the current colour (white) times the skin, so
// all shading is baked: each colour has a ramp row in the skin, dark to bright from left to
// right, and a corner's s picks its brightness from its normal. OpenGL interpolates s across
// the triangle, which gives smooth shading over rounded shapes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "content/canvas.h"
#include "formats/ms3d_writer.h"

namespace content {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float k) {
  return {a.x * k, a.y * k, a.z * k};
}
inline float Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Normalize(Vec3 v);

// Brightness of a surface with the given normal under a fixed light. The cars' light comes from
// above, a little from the left and from behind, so the chase view sees a lit car; the banners'
// from above and in front, where the driver comes from.
enum class Lighting { Car, Banner };
float Brightness(Vec3 normal, Lighting lighting = Lighting::Car);

struct Uv {
  float s = 0, t = 0;  // as stored in the model file (t counted down from the picture's top)
};

class SkinAtlas {
 public:
  // steps 0: smooth ramps; otherwise each ramp holds that many flat shades (few colours, for
  // the 16-colour skins).
  explicit SkinAtlas(int size = 256, int steps = 0, Lighting lighting = Lighting::Car);
  Lighting lighting() const { return lighting_; }
  Canvas& canvas() { return canvas_; }
  const Canvas& canvas() const { return canvas_; }

  // A ramp row for the colour; returns its index.
  int addRamp(Colour base);
  Colour rampColour(int ramp, float brightness) const;
  Uv rampUv(int ramp, float brightness) const;

  // Reserves a w by h pixel rectangle in the decal area and paints it with paint(canvas, x0, y0,
  // w, h). Returns the rectangle's index.
  int addDecal(int w, int h, const std::function<void(Canvas&, float, float, float, float)>& paint);
  // Skin coordinates of point (u, v) of a decal, u right and v up, both 0..1.
  Uv decalUv(int decal, float u, float v) const;

 private:
  Canvas canvas_;
  int steps_;
  Lighting lighting_;
  struct Rect {
    float x0, y0, w, h;
  };
  std::vector<Colour> ramps_;
  std::vector<Rect> decals_;
  int shelfX_ = 0, shelfY_ = 0, shelfH_ = 0;
};

class MeshBuilder {
 public:
  explicit MeshBuilder(formats::Ms3dMesh& mesh) : mesh_(mesh) {}
  // Following triangles go into a new group with this material (-1: none).
  void beginGroup(const std::string& name, int materialIndex);
  void triangle(const Vec3 (&p)[3], const Vec3 (&n)[3], const Uv (&uv)[3]);
  // A triangle shaded through a ramp by its corner normals.
  void shaded(const SkinAtlas& atlas, int ramp, const Vec3 (&p)[3], const Vec3 (&n)[3]);
  // A flat quad (corners counter-clockwise seen from outside), shaded through a ramp.
  void flatQuad(const SkinAtlas& atlas, int ramp, Vec3 a, Vec3 b, Vec3 c, Vec3 d);
  // A flat quad showing a decal: a at (0,0), b at (1,0), c at (1,1), d at (0,1).
  void decalQuad(const SkinAtlas& atlas, int decal, Vec3 a, Vec3 b, Vec3 c, Vec3 d);
  // An axis-aligned box; a face gets decal faceDecal[i] instead of the ramp when it is >= 0
  // (faces: +x, -x, +y, -y, +z, -z).
  void box(const SkinAtlas& atlas, int ramp, Vec3 centre, Vec3 half,
           const int (&faceDecal)[6] = kNoDecals);
  // A cylinder along x (a wheel): tread ramp round the side, hub ramp on both ends.
  void wheel(const SkinAtlas& atlas, int tread, int hub, Vec3 centre, float radius, float halfWidth,
             int segments = 14);

  static constexpr int kNoDecals[6] = {-1, -1, -1, -1, -1, -1};

 private:
  uint16_t vertex(Vec3 p);
  formats::Ms3dMesh& mesh_;
};

// A body made by lofting rounded cross-sections along z: each station is a superellipse in
// the xy plane. Stations must be ordered by z; both ends are closed by fans.
struct LoftStation {
  float z;
  float halfWidth;
  float bottom, top;
  float exponent = 2.5f;  // 2 = ellipse, larger = boxier
  float centreX = 0;
};
struct LoftSurface {
  // Corners with smooth normals, rows by station, columns round the section.
  std::vector<std::vector<Vec3>> points, normals;
  Vec3 frontCentre, rearCentre;
};
LoftSurface MakeLoft(const std::vector<LoftStation>& stations, int around);

// Emits the loft's triangles. decalFor(centre, normal) may return a decal index and a mapping
// from a point to (u, v) for triangles that should show a decal; otherwise the ramp shades them.
struct DecalMapping {
  int decal = -1;
  std::function<std::pair<float, float>(Vec3)> map;
};
// keepColumn, when set, chooses which strips round the section are emitted (an open shell);
// caps closes both ends.
void EmitLoft(MeshBuilder& builder, const SkinAtlas& atlas, int ramp, const LoftSurface& loft,
              const std::function<DecalMapping(Vec3 centre, Vec3 normal)>& decalFor = nullptr,
              const std::function<bool(size_t column)>& keepColumn = nullptr, bool caps = true);

// Materials: a skin material named after the skin, or a plain colour one without a texture.
formats::Ms3dMaterial SkinMaterial(const std::string& name, const std::string& skinFile);

}  // namespace content
