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

void Put16(Bytes& bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

TEST(Ms3dFormat, ReadsEveryFieldOfAVersion4Cube) {
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(CubeBytes(), mesh));
  ASSERT_EQ(mesh.vertices.size(), 8u);
  ASSERT_EQ(mesh.triangles.size(), 12u);
  ASSERT_EQ(mesh.groups.size(), 1u);
  ASSERT_EQ(mesh.materials.size(), 1u);

  const ModelVertex& v = mesh.vertices[3];
  EXPECT_EQ(v.position[0], 1.0f);
  EXPECT_EQ(v.position[1], 1.0f);
  EXPECT_EQ(v.position[2], -1.0f);
  EXPECT_EQ(v.boneId, -2);
  EXPECT_EQ(v.referenceCount, 3);

  const ModelTriangle& t = mesh.triangles[2];  // first triangle of the +z face
  EXPECT_EQ(t.vertexIndices[0], 4);
  EXPECT_EQ(t.vertexIndices[1], 5);
  EXPECT_EQ(t.vertexIndices[2], 7);
  EXPECT_EQ(t.vertexNormals[2][2], 1.0f);
  EXPECT_EQ(t.s[0], 0.25f);
  EXPECT_EQ(t.t[0], 0.75f);
  EXPECT_EQ(t.s[2], 0.75f);
  EXPECT_EQ(t.t[2], 0.25f);
  EXPECT_EQ(t.smoothingGroup, 1);

  const ModelGroup& g = mesh.groups[0];
  EXPECT_STREQ(g.name, "cube");
  EXPECT_EQ(g.triangleCount, 12);
  EXPECT_EQ(g.triangleIndices[11], 11);
  EXPECT_EQ(g.materialIndex, 0);

  const ModelMaterial& m = mesh.materials[0];
  EXPECT_STREQ(m.name, "paint");
  EXPECT_EQ(m.diffuse[0], 0.9f);
  EXPECT_EQ(m.diffuse[2], 0.2f);
  EXPECT_EQ(m.ambient[0], 0.2f);
  EXPECT_EQ(m.shininess, 12.5f);
  EXPECT_EQ(m.transparency, 1.0f);
  EXPECT_STREQ(m.texture, "Data/skin.bmp");
  EXPECT_EQ(m.textureId, 0u);
}

TEST(Ms3dFormat, AcceptsVersion3AndNoGroupsAndAFileEndingAfterTheMaterials) {
  formats::Ms3dMesh source = testing_support::CubeMesh();
  source.version = 3;
  source.groups.clear();
  source.writeAnimation = false;
  Bytes bytes = formats::EncodeMs3d(source);
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(bytes, mesh));
  EXPECT_EQ(mesh.groups.size(), 0u);
  EXPECT_EQ(mesh.triangles.size(), 12u);
}

TEST(Ms3dFormat, RefusesWrongIdentifiersAndVersionsWithoutTouchingTheMesh) {
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(CubeBytes(), mesh));
  for (int32_t version : {2, 5, 0, -4}) {
    formats::Ms3dMesh source = testing_support::CubeMesh();
    source.version = version;
    EXPECT_FALSE(Parse(formats::EncodeMs3d(source), mesh)) << version;
  }
  for (size_t i = 0; i < 10; ++i) {
    Bytes bytes = CubeBytes();
    bytes[i] ^= 0x20;
    EXPECT_FALSE(Parse(bytes, mesh)) << "identifier byte " << i;
  }
  EXPECT_EQ(mesh.vertices.size(), 8u);
  EXPECT_EQ(mesh.materials.size(), 1u);
}

TEST(Ms3dFormat, RefusesEveryTruncationBeforeTheEndOfTheMaterials) {
  Bytes whole = CubeBytes();
  Ms3dMesh mesh;
  for (size_t length = 0; length < kEnd; ++length) {
    Bytes cut(whole.begin(), whole.begin() + static_cast<long>(length));
    ASSERT_FALSE(Parse(cut, mesh)) << "length " << length;
  }
  Bytes exact(whole.begin(), whole.begin() + static_cast<long>(kEnd));
  EXPECT_TRUE(Parse(exact, mesh));
}

TEST(Ms3dFormat, RefusesOutOfRangeIndices) {
  struct Case {
    const char* what;
    size_t offset;
    uint16_t value;
  };
  const Case cases[] = {
      {"vertex index equal to the vertex count", kTriangles + 2, 8},
      {"last vertex index of the last triangle", kTriangles + 11 * 70 + 6, 0xFFFF},
      {"triangle index equal to the triangle count", kGroup + 35, 12},
      {"a huge vertex count", formats::kMs3dHeaderSize, 0xFFFF},
  };
  for (const Case& c : cases) {
    Bytes bytes = CubeBytes();
    Put16(bytes, c.offset, c.value);
    Ms3dMesh mesh;
    EXPECT_FALSE(Parse(bytes, mesh)) << c.what;
    EXPECT_TRUE(mesh.vertices.empty()) << c.what;
  }
  for (int8_t material : {int8_t{1}, int8_t{127}}) {
    Bytes bytes = CubeBytes();
    bytes[kMaterial - 3] = static_cast<uint8_t>(material);
    Ms3dMesh mesh;
    EXPECT_FALSE(Parse(bytes, mesh)) << "material index " << int{material};
  }
  // A negative material index means "no material" and is kept.
  Bytes bytes = CubeBytes();
  bytes[kMaterial - 3] = 0xFF;
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(bytes, mesh));
  EXPECT_EQ(mesh.groups[0].materialIndex, -1);
}

TEST(Ms3dFormat, RewritesTexturePathsIntoTheModelFolder) {
  struct Case {
    const char* stored;
    const char* directory;
    const char* used;
  };
  const Case cases[] = {
      {"./skin.bmp", "Data", "Data/skin.bmp"},   {".\\skin.bmp", "Data", "Data/skin.bmp"},
      {"skin.bmp", "Data", "skin.bmp"},          {"", "Data", ""},
      {"sub\\skin.bmp", "Data", "sub/skin.bmp"}, {"./skin.bmp", ".", "./skin.bmp"},
  };
  for (const Case& c : cases) {
    char texture[128] = {};
    std::strcpy(texture, c.stored);
    RewriteTexturePath(texture, c.directory);
    EXPECT_STREQ(texture, c.used) << c.stored;
  }
  EXPECT_EQ(ModelDirectory("Data/wingman.ms3d"), "Data");
  EXPECT_EQ(ModelDirectory("a/b/c.ms3d"), "a/b");
  EXPECT_EQ(ModelDirectory("wingman.ms3d"), ".");
}

TEST(Ms3dFormat, CutsLongPathsAndTerminatesFullFields) {
  char texture[128];
  std::memset(texture, 'x', sizeof texture);
  texture[0] = '.';
  texture[1] = '/';
  RewriteTexturePath(texture, std::string(40, 'd'));
  EXPECT_EQ(std::strlen(texture), 127u);
  EXPECT_EQ(std::string(texture, 41), std::string(40, 'd') + "/");

  // A 128-byte path with no NUL in the file is read as its first 127 characters.
  formats::Ms3dMesh source = testing_support::CubeMesh(std::string(128, 'y'));
  Bytes bytes = formats::EncodeMs3d(source);
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(bytes, mesh));
  EXPECT_EQ(std::string(mesh.materials[0].texture), std::string(127, 'y'));
}

}  // namespace
