// Writes MilkShape 3D binary models (identifier "MS3D000000", version 4 by default) from a
// simple in-memory mesh. Used by the content generator, the tests and the fuzz seeds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace formats {

struct Ms3dVertex {
  uint8_t flags = 0;
  std::array<float, 3> position{};
  int8_t boneId = -1;
  uint8_t referenceCount = 0;
};

struct Ms3dTriangle {
  uint16_t flags = 0;
  std::array<uint16_t, 3> vertexIndices{};
  std::array<std::array<float, 3>, 3> vertexNormals{};  // one normal per corner
  std::array<float, 3> s{};                             // per corner
  std::array<float, 3> t{};                             // per corner
  uint8_t smoothingGroup = 1;
  uint8_t groupIndex = 0;
};

struct Ms3dGroup {
  uint8_t flags = 0;
  std::string name;  // at most 32 bytes are written
  std::vector<uint16_t> triangleIndices;
  int8_t materialIndex = -1;  // negative: no material
};

struct Ms3dMaterial {
  std::string name;  // at most 32 bytes are written
  std::array<float, 4> ambient{0.2f, 0.2f, 0.2f, 1.0f};
  std::array<float, 4> diffuse{0.8f, 0.8f, 0.8f, 1.0f};
  std::array<float, 4> specular{0.0f, 0.0f, 0.0f, 1.0f};
  std::array<float, 4> emissive{0.0f, 0.0f, 0.0f, 1.0f};
  float shininess = 0.0f;
  float transparency = 1.0f;
  uint8_t mode = 0;
  std::string texture;   // e.g. "./skin.bmp"; at most 128 bytes are written
  std::string alphamap;  // at most 128 bytes are written
};

struct Ms3dMesh {
  std::string identifier = "MS3D000000";  // written as exactly 10 bytes (cut or NUL-padded)
  int32_t version = 4;
  std::vector<Ms3dVertex> vertices;
  std::vector<Ms3dTriangle> triangles;
  std::vector<Ms3dGroup> groups;
  std::vector<Ms3dMaterial> materials;
  // The animation fields that follow the materials in the file; the game does not read them.
  bool writeAnimation = true;
  float animationFps = 24.0f;
  float currentTime = 0.0f;
  int32_t totalFrames = 30;
  uint16_t jointCount = 0;
};

// Record sizes in the file.
inline constexpr size_t kMs3dHeaderSize = 14;
inline constexpr size_t kMs3dVertexSize = 15;
inline constexpr size_t kMs3dTriangleSize = 70;
inline constexpr size_t kMs3dGroupBaseSize = 36;  // plus 2 per triangle index
inline constexpr size_t kMs3dMaterialSize = 361;

// The mesh as file bytes, little-endian, no padding. Counts above 65535 are cut to 16 bits
// (callers keep them in range).
std::vector<uint8_t> EncodeMs3d(const Ms3dMesh& mesh);

// Writes EncodeMs3d's bytes to path; false when the file cannot be written.
bool WriteMs3dFile(const std::string& path, const Ms3dMesh& mesh);

}  // namespace formats
