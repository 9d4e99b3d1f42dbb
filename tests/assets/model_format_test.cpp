// The MilkShape 3D parser on real file bytes: fields, refusals of broken files, texture paths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/ms3d_format.h"
#include "formats/ms3d_writer.h"
#include "support/model_meshes.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Offsets inside the cube file.
constexpr size_t kTriangles = formats::kMs3dHeaderSize + 2 + 8 * formats::kMs3dVertexSize + 2;
constexpr size_t kGroup = kTriangles + 12 * formats::kMs3dTriangleSize + 2;
constexpr size_t kMaterial = kGroup + formats::kMs3dGroupBaseSize + 2 * 12 + 2;
constexpr size_t kEnd = kMaterial + formats::kMs3dMaterialSize;

bool Parse(const Bytes& bytes, Ms3dMesh& mesh) {
  return ParseMs3d(bytes.data(), bytes.size(), "Data", mesh);
}

Bytes CubeBytes() {
  return formats::EncodeMs3d(testing_support::CubeMesh());
}

TEST(Ms3dFormat, ReadsEveryFieldOfAVersion4Cube) {
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(CubeBytes(), mesh));
  ASSERT_EQ(mesh.vertices.size(), 8u);
  ASSERT_EQ(mesh.triangles.size(), 12u);
  ASSERT_EQ(mesh.groups.size(), 1u);
  ASSERT_EQ(mesh.materials.size(), 1u);
  const ModelVertex& v = mesh.vertices[3];
  EXPECT_EQ((std::vector<float>{v.position, v.position + 3}), (std::vector<float>{1, 1, -1}));
  EXPECT_EQ(v.boneId, -2);
  EXPECT_EQ(v.referenceCount, 3);
  const ModelTriangle& t = mesh.triangles[2];  // first triangle of the +z face
  EXPECT_EQ((std::vector<int>{t.vertexIndices, t.vertexIndices + 3}), (std::vector<int>{4, 5, 7}));
  EXPECT_EQ(t.vertexNormals[2][2], 1.0f);
  EXPECT_EQ(t.s[2], 0.75f);
  EXPECT_EQ(t.t[2], 0.25f);
  EXPECT_EQ(t.smoothingGroup, 1);
  EXPECT_EQ(mesh.groups[0].triangleIndices[11], 11);
  EXPECT_EQ(mesh.groups[0].materialIndex, 0);
  const ModelMaterial& m = mesh.materials[0];
  EXPECT_STREQ(m.name, "paint");
  EXPECT_EQ(m.ambient[0], 0.2f);
  EXPECT_EQ(m.diffuse[2], 0.2f);
  EXPECT_EQ(m.shininess, 12.5f);
  EXPECT_EQ(m.transparency, 1.0f);
  EXPECT_STREQ(m.texture, "Data/skin.bmp");
}

TEST(Ms3dFormat, AcceptsVersion3AndRefusesOtherVersionsAndIdentifiers) {
  formats::Ms3dMesh source = testing_support::CubeMesh();
  source.version = 3;
  source.groups.clear();
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(formats::EncodeMs3d(source), mesh));
  EXPECT_EQ(mesh.groups.size(), 0u);
  for (int32_t version : {2, 5, -4}) {
    source.version = version;
    EXPECT_FALSE(Parse(formats::EncodeMs3d(source), mesh)) << version;
  }
  for (size_t i = 0; i < 10; ++i) {
    Bytes bytes = CubeBytes();
    bytes[i] ^= 0x20;
    EXPECT_FALSE(Parse(bytes, mesh)) << "identifier byte " << i;
  }
  EXPECT_EQ(mesh.vertices.size(), 8u) << "a refused file leaves the mesh as it was";
}

TEST(Ms3dFormat, RefusesEveryTruncationAndEveryOutOfRangeIndex) {
  Bytes whole = CubeBytes();
  Ms3dMesh mesh;
  for (size_t length = 0; length < kEnd; ++length) {
    ASSERT_FALSE(Parse(Bytes(whole.begin(), whole.begin() + long(length)), mesh)) << length;
  }
  EXPECT_TRUE(Parse(Bytes(whole.begin(), whole.begin() + long(kEnd)), mesh));

  struct Case {
    const char* what;
    size_t offset;
    uint16_t value;
  };
  for (Case c : {Case{"vertex index = vertex count", kTriangles + 2, 8},
                 Case{"last corner of last triangle", kTriangles + 11 * 70 + 6, 0xFFFF},
                 Case{"triangle index = triangle count", kGroup + 35, 12},
                 Case{"vertex count beyond the file", formats::kMs3dHeaderSize, 0xFFFF},
                 Case{"material index 1 of 1", kMaterial - 3, 1},
                 Case{"material index 127", kMaterial - 3, 127}}) {
    Bytes bytes = whole;
    bytes[c.offset] = static_cast<uint8_t>(c.value);
    if (c.offset != kMaterial - 3) bytes[c.offset + 1] = static_cast<uint8_t>(c.value >> 8);
    Ms3dMesh untouched;
    EXPECT_FALSE(Parse(bytes, untouched)) << c.what;
    EXPECT_TRUE(untouched.vertices.empty()) << c.what;
  }
  // A negative material index means "no material".
  whole[kMaterial - 3] = 0xFF;
  ASSERT_TRUE(Parse(whole, mesh));
  EXPECT_EQ(mesh.groups[0].materialIndex, -1);
}

TEST(Ms3dFormat, RewritesTexturePathsIntoTheModelFolder) {
  for (auto [stored, folder, used] : {std::tuple{"./skin.bmp", "Data", "Data/skin.bmp"},
                                      {".\\skin.bmp", "Data", "Data/skin.bmp"},
                                      {"skin.bmp", "Data", "skin.bmp"},
                                      {"", "Data", ""},
                                      {"sub\\skin.bmp", "Data", "sub/skin.bmp"},
                                      {"./skin.bmp", ".", "./skin.bmp"}}) {
    char texture[128] = {};
    std::strcpy(texture, stored);
    RewriteTexturePath(texture, folder);
    EXPECT_STREQ(texture, used) << stored;
  }
  EXPECT_EQ(ModelDirectory("a/b/c.ms3d"), "a/b");
  EXPECT_EQ(ModelDirectory("wingman.ms3d"), ".");

  // Too long after rewriting: cut to 127 characters and a NUL.
  char texture[128];
  std::memset(texture, 'x', sizeof texture);
  std::memcpy(texture, "./", 2);
  RewriteTexturePath(texture, std::string(40, 'd'));
  EXPECT_EQ(std::string(texture), std::string(40, 'd') + "/" + std::string(86, 'x'));
  // A full 128-byte field without NUL in the file is read as its first 127 characters.
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(formats::EncodeMs3d(testing_support::CubeMesh(std::string(128, 'y'))), mesh));
  EXPECT_EQ(std::string(mesh.materials[0].texture), std::string(127, 'y'));
}

}  // namespace
