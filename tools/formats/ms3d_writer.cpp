// MilkShape 3D binary writer: header, vertices, triangles, groups, materials, animation fields.
#include "formats/ms3d_writer.h"

#include <cstring>

#include "formats/bmp_writer.h"

namespace formats {

namespace {

class ByteSink {
 public:
  explicit ByteSink(std::vector<uint8_t>& out) : out_(out) {}
  void u8(uint8_t v) { out_.push_back(v); }
  void i8(int8_t v) { out_.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) {
    out_.push_back(static_cast<uint8_t>(v));
    out_.push_back(static_cast<uint8_t>(v >> 8));
  }
  void u32(uint32_t v) {
    u16(v & 0xffff);
    u16(v >> 16);
  }
  void f32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
  }
  // A fixed-size character field: the text cut to size, the rest filled with NULs.
  void chars(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) out_.push_back(i < text.size() ? text[i] : 0);
  }

 private:
  std::vector<uint8_t>& out_;
};

}  // namespace

std::vector<uint8_t> EncodeMs3d(const Ms3dMesh& mesh) {
  std::vector<uint8_t> out;
  ByteSink sink(out);
  sink.chars(mesh.identifier, 10);
  sink.u32(static_cast<uint32_t>(mesh.version));

  sink.u16(static_cast<uint32_t>(mesh.vertices.size()));
  for (const Ms3dVertex& v : mesh.vertices) {
    sink.u8(v.flags);
    for (float c : v.position) sink.f32(c);
    sink.i8(v.boneId);
    sink.u8(v.referenceCount);
  }

  sink.u16(static_cast<uint32_t>(mesh.triangles.size()));
  for (const Ms3dTriangle& t : mesh.triangles) {
    sink.u16(t.flags);
    for (uint16_t i : t.vertexIndices) sink.u16(i);
    for (const auto& n : t.vertexNormals)
      for (float c : n) sink.f32(c);
    for (float c : t.s) sink.f32(c);
    for (float c : t.t) sink.f32(c);
    sink.u8(t.smoothingGroup);
    sink.u8(t.groupIndex);
  }

  sink.u16(static_cast<uint32_t>(mesh.groups.size()));
  for (const Ms3dGroup& g : mesh.groups) {
    sink.u8(g.flags);
    sink.chars(g.name, 32);
    sink.u16(static_cast<uint32_t>(g.triangleIndices.size()));
    for (uint16_t i : g.triangleIndices) sink.u16(i);
    sink.i8(g.materialIndex);
  }

  sink.u16(static_cast<uint32_t>(mesh.materials.size()));
  for (const Ms3dMaterial& m : mesh.materials) {
    sink.chars(m.name, 32);
    for (float c : m.ambient) sink.f32(c);
    for (float c : m.diffuse) sink.f32(c);
    for (float c : m.specular) sink.f32(c);
    for (float c : m.emissive) sink.f32(c);
    sink.f32(m.shininess);
    sink.f32(m.transparency);
    sink.u8(m.mode);
    sink.chars(m.texture, 128);
    sink.chars(m.alphamap, 128);
  }

  if (mesh.writeAnimation) {
    sink.f32(mesh.animationFps);
    sink.f32(mesh.currentTime);
    sink.u32(static_cast<uint32_t>(mesh.totalFrames));
    sink.u16(mesh.jointCount);
  }
  return out;
}

bool WriteMs3dFile(const std::string& path, const Ms3dMesh& mesh) {
  return WriteBytesToFile(path, EncodeMs3d(mesh));
}

}  // namespace formats
