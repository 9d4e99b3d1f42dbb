// Reads MilkShape 3D binary files field by field (little-endian, no padding), checking every
// read and index before anything is handed out.
#include "assets/ms3d_format.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

constexpr char kIdentifier[10] = {'M', 'S', '3', 'D', '0', '0', '0', '0', '0', '0'};

// A bounds-checked little-endian cursor. After a failed read every later read fails too.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool ok() const { return ok_; }

  bool bytes(void* out, size_t count) {
    if (!ok_ || size_ - pos_ < count) {
      ok_ = false;
      return false;
    }
    if (count > 0) std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
  }
  uint8_t u8() {
    uint8_t v = 0;
    bytes(&v, 1);
    return v;
  }
  int8_t s8() { return static_cast<int8_t>(u8()); }
  uint16_t u16() {
    uint8_t b[2] = {0, 0};
    bytes(b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  uint32_t u32() {
    uint8_t b[4] = {0, 0, 0, 0};
    bytes(b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
  }
  int32_t s32() { return static_cast<int32_t>(u32()); }
  float f32() {
    uint32_t bits = u32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  void floats(float* out, int count) {
    for (int i = 0; i < count; ++i) out[i] = f32();
  }
  // True when at least count records of recordSize bytes remain: lets a count be refused
  // before memory is reserved for it.
  bool fits(size_t count, size_t recordSize) const {
    return ok_ && (size_ - pos_) / recordSize >= count;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool ok_ = true;
};

bool ReadVertices(ByteReader& in, std::vector<ModelVertex>& vertices) {
  uint16_t count = in.u16();
  if (!in.fits(count, 15)) return false;
  vertices.resize(count);
  for (ModelVertex& v : vertices) {
    v.flags = in.u8();
    in.floats(v.position, 3);
    v.boneId = in.s8();
    v.referenceCount = in.u8();
  }
  return in.ok();
}

bool ReadTriangles(ByteReader& in, std::vector<ModelTriangle>& triangles) {
  uint16_t count = in.u16();
  if (!in.fits(count, 70)) return false;
  triangles.resize(count);
  for (ModelTriangle& t : triangles) {
    t.flags = in.u16();
    for (uint16_t& index : t.vertexIndices) index = in.u16();
    for (auto& normal : t.vertexNormals) in.floats(normal, 3);
    in.floats(t.s, 3);
    in.floats(t.t, 3);
    t.smoothingGroup = in.u8();
    t.groupIndex = in.u8();
  }
  return in.ok();
}

bool ReadGroups(ByteReader& in, std::vector<ModelGroup>& groups) {
  uint16_t count = in.u16();
  if (!in.fits(count, 36)) return false;
  groups.resize(count);
  for (ModelGroup& g : groups) {
    g.flags = in.u8();
    in.bytes(g.name, sizeof g.name);
    g.triangleCount = in.u16();
    if (!in.fits(g.triangleCount, 2)) return false;
    g.triangleIndices.resize(g.triangleCount);
    for (uint16_t& index : g.triangleIndices) index = in.u16();
    g.materialIndex = in.s8();
    if (!in.ok()) return false;
  }
  return in.ok();
}

bool ReadMaterials(ByteReader& in, const std::string& directory, FileExists exists,
                   std::vector<ModelMaterial>& materials) {
  uint16_t count = in.u16();
  if (!in.fits(count, 361)) return false;
  materials.resize(count);
  for (ModelMaterial& m : materials) {
    in.bytes(m.name, sizeof m.name);
    in.floats(m.ambient, 4);
    in.floats(m.diffuse, 4);
    in.floats(m.specular, 4);
    in.floats(m.emissive, 4);
    m.shininess = in.f32();
    m.transparency = in.f32();
    m.mode = in.u8();
    in.bytes(m.texture, sizeof m.texture);
    in.bytes(m.alphamap, sizeof m.alphamap);
    RewriteTexturePath(m.texture, directory, exists);
  }
  return in.ok();
}

bool IndicesInRange(const Ms3dMesh& mesh) {
  for (const ModelTriangle& t : mesh.triangles) {
    for (uint16_t index : t.vertexIndices) {
      if (index >= mesh.vertices.size()) return false;
    }
  }
  for (const ModelGroup& g : mesh.groups) {
    for (uint16_t index : g.triangleIndices) {
      if (index >= mesh.triangles.size()) return false;
    }
    if (g.materialIndex >= 0 && static_cast<size_t>(g.materialIndex) >= mesh.materials.size()) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseMs3d(const uint8_t* data, size_t size, const std::string& directory, Ms3dMesh& mesh,
               FileExists exists) {
  ByteReader in(data, size);
  char identifier[10];
  if (!in.bytes(identifier, sizeof identifier)) return false;
  if (std::memcmp(identifier, kIdentifier, sizeof kIdentifier) != 0) return false;
  int32_t version = in.s32();
  if (!in.ok() || (version != 3 && version != 4)) return false;

  Ms3dMesh read;
  if (!ReadVertices(in, read.vertices) || !ReadTriangles(in, read.triangles) ||
      !ReadGroups(in, read.groups) || !ReadMaterials(in, directory, exists, read.materials)) {
    return false;
  }
  if (!IndicesInRange(read)) return false;
  mesh = std::move(read);
  return true;
}

size_t Ms3dReadLimit(const std::vector<uint8_t>& start) {
  const bool model = start.size() >= sizeof kIdentifier &&
                     std::memcmp(start.data(), kIdentifier, sizeof kIdentifier) == 0;
  return model ? kMs3dMaxBytes : start.size();
}

std::string ModelDirectory(const char* fileName) {
  std::string name = fileName ? fileName : "";
  size_t slash = name.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  return name.substr(0, slash);
}

void RewriteTexturePath(char (&texture)[128], const std::string& directory, FileExists exists) {
  texture[sizeof texture - 1] = '\0';
  std::replace(texture, texture + sizeof texture, '\\', '/');
  if (texture[0] == '\0' || texture[0] == '/') return;
  const std::string stored = texture;
  std::string path;
  if (stored.starts_with("./")) {
    path = directory + stored.substr(1);
  } else {
    path = directory + "/" + stored;
  }
  const std::string older = stored[0] == '.' ? directory + stored.substr(1) : stored;
  if (exists && older != path && exists(older.c_str())) path = older;
  size_t length = std::min(path.size(), sizeof texture - 1);
  std::memcpy(texture, path.data(), length);
  std::memset(texture + length, 0, sizeof texture - length);
}

bool SkinInsideDataFolder(const char* skin, const char* modelFileName) {
  const std::filesystem::path path = std::filesystem::path(skin).lexically_normal();
  const std::string model = modelFileName ? modelFileName : "";
  if (model.empty() || model[0] != '/') {
    return path.is_relative() && !path.empty() && *path.begin() != "..";
  }
  const std::filesystem::path folder =
      std::filesystem::path(ModelDirectory(modelFileName)).lexically_normal();
  const std::filesystem::path inside = path.lexically_relative(folder);
  return !inside.empty() && *inside.begin() != ".." && *inside.begin() != ".";
}
