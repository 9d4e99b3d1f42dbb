// Skin atlas layout, corner shading and the mesh primitives of the generated models.
#include "content/model_builder.h"

#include <cmath>
#include <stdexcept>

namespace content {

Vec3 Normalize(Vec3 v) {
  float len = std::sqrt(Dot(v, v));
  return len > 0 ? v * (1 / len) : Vec3{0, 1, 0};
}

float Brightness(Vec3 normal, Lighting lighting) {
  static const Vec3 carLight = Normalize({0.4f, 0.85f, -0.35f});
  static const Vec3 bannerLight = Normalize({0.3f, 0.7f, 0.65f});
  const Vec3& light = lighting == Lighting::Car ? carLight : bannerLight;
  Vec3 n = Normalize(normal);
  float diffuse = std::max(0.0f, Dot(n, light));
  float sky = 0.5f + 0.5f * n.y;
  // The cars get more ambient light: the car selection shows their unlit front too.
  if (lighting == Lighting::Car) return 0.5f + 0.52f * diffuse + 0.1f * sky;
  return 0.38f + 0.62f * diffuse + 0.12f * sky;
}

namespace {
constexpr float kRampMin = 0.3f, kRampMax = 1.2f;
constexpr int kRampRow = 8;
}  // namespace

SkinAtlas::SkinAtlas(int size, int steps, Lighting lighting)
    : canvas_(size, size, Rgb255(128, 128, 128)), steps_(steps), lighting_(lighting) {
  shelfX_ = size / 2;
}

Colour SkinAtlas::rampColour(int ramp, float brightness) const {
  Colour base = ramps_[ramp];
  if (steps_ > 0) {
    float step = (kRampMax - kRampMin) / steps_;
    int i = std::clamp(static_cast<int>((brightness - kRampMin) / step), 0, steps_ - 1);
    brightness = kRampMin + (i + 0.5f) * step;
  }
  Colour c = base * std::min(brightness, 1.0f);
  if (brightness > 1) c = Mix(c, Colour{1, 1, 1}, (brightness - 1) * 1.2f);
  return c;
}

int SkinAtlas::addRamp(Colour base) {
  int index = static_cast<int>(ramps_.size());
  ramps_.push_back(base);
  int y0 = index * kRampRow;
  if (y0 + kRampRow > canvas_.height()) throw std::length_error("skin atlas: too many ramps");
  const int width = canvas_.width() / 2;
  for (int x = 0; x < width; ++x) {
    float b = kRampMin + (kRampMax - kRampMin) * (x + 0.5f) / width;
    for (int y = y0; y < y0 + kRampRow; ++y) canvas_.at(x, y) = rampColour(index, b);
  }
  return index;
}

Uv SkinAtlas::rampUv(int ramp, float brightness) const {
  const float width = canvas_.width() / 2.0f;
  float b = std::clamp(brightness, kRampMin, kRampMax);
  if (steps_ > 0) {
    float step = (kRampMax - kRampMin) / steps_;
    int i = std::clamp(static_cast<int>((b - kRampMin) / step), 0, steps_ - 1);
    b = kRampMin + (i + 0.5f) * step;
  }
  float x = 2 + (width - 4) * (b - kRampMin) / (kRampMax - kRampMin);
  float y = ramp * kRampRow + kRampRow / 2.0f;
  return {x / canvas_.width(), y / canvas_.height()};
}

int SkinAtlas::addDecal(int w, int h,
                        const std::function<void(Canvas&, float, float, float, float)>& paint) {
  // Shelf packing in the right half of the skin, with a 2-pixel gap round every decal.
  const int size = canvas_.width();
  if (shelfX_ + w + 2 > size) {
    shelfX_ = size / 2;
    shelfY_ += shelfH_ + 2;
    shelfH_ = 0;
  }
  if (shelfY_ + h + 2 > canvas_.height() || w + 2 > size / 2)
    throw std::length_error("skin atlas: no room for the decal");
  Rect r{static_cast<float>(shelfX_ + 1), static_cast<float>(shelfY_ + 1), static_cast<float>(w),
         static_cast<float>(h)};
  shelfX_ += w + 2;
  shelfH_ = std::max(shelfH_, h);
  paint(canvas_, r.x0, r.y0, r.w, r.h);
  decals_.push_back(r);
  return static_cast<int>(decals_.size()) - 1;
}

Uv SkinAtlas::decalUv(int decal, float u, float v) const {
  const Rect& r = decals_[decal];
  // Half a pixel in from the rectangle's edges so filtering never reaches its neighbours.
  float x = r.x0 + 0.5f + std::clamp(u, 0.0f, 1.0f) * (r.w - 1);
  float y = r.y0 + 0.5f + (1 - std::clamp(v, 0.0f, 1.0f)) * (r.h - 1);
  return {x / canvas_.width(), y / canvas_.height()};
}

void MeshBuilder::beginGroup(const std::string& name, int materialIndex) {
  formats::Ms3dGroup g;
  g.name = name;
  g.materialIndex = static_cast<int8_t>(materialIndex);
  mesh_.groups.push_back(g);
}

uint16_t MeshBuilder::vertex(Vec3 p) {
  for (size_t i = 0; i < mesh_.vertices.size(); ++i) {
    const auto& q = mesh_.vertices[i].position;
    if (q[0] == p.x && q[1] == p.y && q[2] == p.z) return static_cast<uint16_t>(i);
  }
  if (mesh_.vertices.size() >= 65535) throw std::length_error("model: too many vertices");
  formats::Ms3dVertex v;
  v.position = {p.x, p.y, p.z};
  mesh_.vertices.push_back(v);
  return static_cast<uint16_t>(mesh_.vertices.size() - 1);
}

void MeshBuilder::triangle(const Vec3 (&p)[3], const Vec3 (&n)[3], const Uv (&uv)[3]) {
  // Skip slivers that collapse to a line or a point (loft tips).
  Vec3 area = Cross(p[1] - p[0], p[2] - p[0]);
  if (Dot(area, area) < 1e-10f) return;
  formats::Ms3dTriangle t;
  for (int i = 0; i < 3; ++i) {
    t.vertexIndices[i] = vertex(p[i]);
    Vec3 nn = Normalize(n[i]);
    t.vertexNormals[i] = {nn.x, nn.y, nn.z};
    t.s[i] = uv[i].s;
    t.t[i] = uv[i].t;
  }
  t.groupIndex = static_cast<uint8_t>(mesh_.groups.size() - 1);
  mesh_.groups.back().triangleIndices.push_back(static_cast<uint16_t>(mesh_.triangles.size()));
  mesh_.triangles.push_back(t);
}

void MeshBuilder::shaded(const SkinAtlas& atlas, int ramp, const Vec3 (&p)[3], const Vec3 (&n)[3]) {
  Uv uv[3];
  for (int i = 0; i < 3; ++i) uv[i] = atlas.rampUv(ramp, Brightness(n[i], atlas.lighting()));
  triangle(p, n, uv);
}

void MeshBuilder::flatQuad(const SkinAtlas& atlas, int ramp, Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
  Vec3 n = Normalize(Cross(b - a, c - a));
  shaded(atlas, ramp, {a, b, c}, {n, n, n});
  shaded(atlas, ramp, {a, c, d}, {n, n, n});
}

void MeshBuilder::decalQuad(const SkinAtlas& atlas, int decal, Vec3 a, Vec3 b, Vec3 c, Vec3 d) {
  Vec3 n = Normalize(Cross(b - a, c - a));
  Uv ua = atlas.decalUv(decal, 0, 0), ub = atlas.decalUv(decal, 1, 0);
  Uv uc = atlas.decalUv(decal, 1, 1), ud = atlas.decalUv(decal, 0, 1);
  triangle({a, b, c}, {n, n, n}, {ua, ub, uc});
  triangle({a, c, d}, {n, n, n}, {ua, uc, ud});
}

void MeshBuilder::box(const SkinAtlas& atlas, int ramp, Vec3 c, Vec3 h, const int (&faceDecal)[6]) {
  auto P = [&](float sx, float sy, float sz) {
    return Vec3{c.x + sx * h.x, c.y + sy * h.y, c.z + sz * h.z};
  };
  // Each face's corners counter-clockwise seen from outside, starting bottom left as seen.
  const Vec3 faces[6][4] = {
      {P(1, -1, 1), P(1, -1, -1), P(1, 1, -1), P(1, 1, 1)},      // +x
      {P(-1, -1, -1), P(-1, -1, 1), P(-1, 1, 1), P(-1, 1, -1)},  // -x
      {P(-1, 1, 1), P(1, 1, 1), P(1, 1, -1), P(-1, 1, -1)},      // +y
      {P(-1, -1, -1), P(1, -1, -1), P(1, -1, 1), P(-1, -1, 1)},  // -y
      {P(-1, -1, 1), P(1, -1, 1), P(1, 1, 1), P(-1, 1, 1)},      // +z
      {P(1, -1, -1), P(-1, -1, -1), P(-1, 1, -1), P(1, 1, -1)},  // -z
  };
  for (int f = 0; f < 6; ++f) {
    const Vec3(&q)[4] = faces[f];
    if (faceDecal[f] >= 0)
      decalQuad(atlas, faceDecal[f], q[0], q[1], q[2], q[3]);
    else
      flatQuad(atlas, ramp, q[0], q[1], q[2], q[3]);
  }
}

void MeshBuilder::wheel(const SkinAtlas& atlas, int tread, int hub, Vec3 c, float r, float hw,
                        int segments) {
  constexpr float kTwoPi = 6.2831853f;
  for (int i = 0; i < segments; ++i) {
    float a0 = kTwoPi * i / segments, a1 = kTwoPi * (i + 1) / segments;
    Vec3 n0{0, std::cos(a0), std::sin(a0)}, n1{0, std::cos(a1), std::sin(a1)};
    Vec3 l0 = c + Vec3{-hw, 0, 0} + n0 * r, l1 = c + Vec3{-hw, 0, 0} + n1 * r;
    Vec3 r0 = c + Vec3{hw, 0, 0} + n0 * r, r1 = c + Vec3{hw, 0, 0} + n1 * r;
    shaded(atlas, tread, {l0, r1, r0}, {n0, n1, n0});
    shaded(atlas, tread, {l0, l1, r1}, {n0, n1, n1});
    Vec3 px{1, 0, 0}, nx{-1, 0, 0};
    Vec3 hubR = c + Vec3{hw, 0, 0}, hubL = c + Vec3{-hw, 0, 0};
    Vec3 rc = hubR + Vec3{0.01f, 0, 0};
    shaded(atlas, hub, {rc, r0, r1}, {px, px, px});
    Vec3 lc = hubL - Vec3{0.01f, 0, 0};
    shaded(atlas, hub, {lc, l1, l0}, {nx, nx, nx});
  }
}

LoftSurface MakeLoft(const std::vector<LoftStation>& stations, int around) {
  constexpr float kTwoPi = 6.2831853f;
  LoftSurface loft;
  for (const LoftStation& s : stations) {
    std::vector<Vec3> ring;
    float cy = (s.top + s.bottom) / 2, hh = (s.top - s.bottom) / 2;
    for (int j = 0; j < around; ++j) {
      float a = kTwoPi * j / around;
      float ca = std::cos(a), sa = std::sin(a);
      float e = 2 / s.exponent;
      float x = std::copysign(std::pow(std::fabs(ca), e), ca);
      float y = std::copysign(std::pow(std::fabs(sa), e), sa);
      ring.push_back({s.centreX + x * s.halfWidth, cy + y * hh, s.z});
    }
    loft.points.push_back(ring);
  }
  const size_t rows = loft.points.size();
  // Smooth normals from the neighbouring points on the grid (ends lean outwards along z).
  for (size_t i = 0; i < rows; ++i) {
    std::vector<Vec3> ns;
    for (int j = 0; j < around; ++j) {
      const Vec3& left = loft.points[i][(j + around - 1) % around];
      const Vec3& right = loft.points[i][(j + 1) % around];
      const Vec3& back = loft.points[i > 0 ? i - 1 : i][j];
      const Vec3& front = loft.points[i + 1 < rows ? i + 1 : i][j];
      Vec3 n = Normalize(Cross(right - left, front - back));
      if (i == 0) n = Normalize(n + Vec3{0, 0, -0.6f});
      if (i + 1 == rows) n = Normalize(n + Vec3{0, 0, 0.6f});
      ns.push_back(n);
    }
    loft.normals.push_back(ns);
  }
  auto centre = [&](size_t row) {
    Vec3 sum;
    for (const Vec3& p : loft.points[row]) sum = sum + p;
    return sum * (1.0f / around);
  };
  loft.rearCentre = centre(0);
  loft.frontCentre = centre(rows - 1);
  return loft;
}

void EmitLoft(MeshBuilder& builder, const SkinAtlas& atlas, int ramp, const LoftSurface& loft,
              const std::function<DecalMapping(Vec3, Vec3)>& decalFor,
              const std::function<bool(size_t)>& keepColumn, bool caps) {
  auto emit = [&](const Vec3(&p)[3], const Vec3(&n)[3]) {
    if (decalFor) {
      Vec3 centre = (p[0] + p[1] + p[2]) * (1.0f / 3);
      Vec3 normal = Normalize(n[0] + n[1] + n[2]);
      DecalMapping m = decalFor(centre, normal);
      if (m.decal >= 0) {
        Uv uv[3];
        for (int i = 0; i < 3; ++i) {
          auto [u, v] = m.map(p[i]);
          uv[i] = atlas.decalUv(m.decal, u, v);
        }
        builder.triangle(p, n, uv);
        return;
      }
    }
    builder.shaded(atlas, ramp, p, n);
  };
  const size_t rows = loft.points.size();
  const size_t around = loft.points[0].size();
  for (size_t i = 0; i + 1 < rows; ++i) {
    for (size_t j = 0; j < around; ++j) {
      if (keepColumn && !keepColumn(j)) continue;
      size_t k = (j + 1) % around;
      const Vec3 &a = loft.points[i][j], &b = loft.points[i][k];
      const Vec3 &c = loft.points[i + 1][k], &d = loft.points[i + 1][j];
      const Vec3 &na = loft.normals[i][j], &nb = loft.normals[i][k];
      const Vec3 &nc = loft.normals[i + 1][k], &nd = loft.normals[i + 1][j];
      emit({a, c, b}, {na, nc, nb});
      emit({a, d, c}, {na, nd, nc});
    }
  }
  if (!caps) return;
  Vec3 back{0, 0, -1}, front{0, 0, 1};
  for (size_t j = 0; j < around; ++j) {
    size_t k = (j + 1) % around;
    emit({loft.rearCentre, loft.points[0][j], loft.points[0][k]},
         {back, loft.normals[0][j], loft.normals[0][k]});
    emit({loft.frontCentre, loft.points[rows - 1][k], loft.points[rows - 1][j]},
         {front, loft.normals[rows - 1][k], loft.normals[rows - 1][j]});
  }
}

formats::Ms3dMaterial SkinMaterial(const std::string& name, const std::string& skinFile) {
  formats::Ms3dMaterial m;
  m.name = name;
  m.ambient = {0.6f, 0.6f, 0.6f, 1.0f};
  m.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  m.specular = {0.2f, 0.2f, 0.2f, 1.0f};
  m.emissive = {0.0f, 0.0f, 0.0f, 1.0f};
  m.shininess = 16.0f;
  m.transparency = 1.0f;
  m.texture = "./" + skinFile;
  return m;
}

}  // namespace content
