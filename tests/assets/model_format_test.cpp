// The MilkShape 3D parser on bytes from the writer: every field, refusals of broken files,
// texture paths.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include <filesystem>
#include <fstream>

#include "assets/data_root.h"
#include "assets/model.h"
#include "assets/ms3d_format.h"
#include "formats/ms3d_writer.h"
#include "support/model_meshes.h"
#include "support/scratch_folder.h"

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

TEST(Ms3dFormat, ReadsEveryFieldOfAVersion4Cube) {
  Ms3dMesh mesh;
  ASSERT_TRUE(Parse(formats::EncodeMs3d(testing_support::CubeMesh()), mesh));
  ASSERT_EQ(std::tuple(mesh.vertices.size(), mesh.triangles.size(), mesh.groups.size(),
                       mesh.materials.size()),
            std::tuple(8, 12, 1, 1));
  const ModelVertex& v = mesh.vertices[3];
  EXPECT_EQ(std::tuple(v.position[0], v.position[1], v.position[2], v.boneId, v.referenceCount),
            std::tuple(1.0f, 1.0f, -1.0f, int8_t{-2}, uint8_t{3}));
  const ModelTriangle& t = mesh.triangles[2];  // first triangle of the +z face
  const uint16_t* corners = t.vertexIndices;
  EXPECT_EQ(std::tuple(corners[0], corners[1], corners[2], t.vertexNormals[2][2], t.s[2], t.t[2]),
            std::tuple(4, 5, 7, 1.0f, 0.75f, 0.25f));
  EXPECT_EQ(std::tuple(t.smoothingGroup, t.groupIndex), std::tuple(1, 0));
  EXPECT_EQ(std::tuple(std::string(mesh.groups[0].name), mesh.groups[0].triangleIndices[11],
                       mesh.groups[0].materialIndex),
            std::tuple("cube", 11, 0));
  const ModelMaterial& m = mesh.materials[0];
  EXPECT_STREQ(m.name, "paint");
  EXPECT_EQ(std::tuple(m.ambient[0], m.diffuse[0], m.diffuse[2], m.shininess, m.transparency),
            std::tuple(0.2f, 0.9f, 0.2f, 12.5f, 1.0f));
  EXPECT_STREQ(m.texture, "Data/skin.bmp");
}

// Refused files (other versions, a wrong identifier, truncations, indices out of range) give
// false and leave the mesh untouched.
TEST(Ms3dFormat, RefusesBrokenFilesWithoutTouchingTheMesh) {
  formats::Ms3dMesh source = testing_support::CubeMesh();
  const Bytes whole = formats::EncodeMs3d(source);
  std::vector<std::pair<std::string, Bytes>> refused;
  for (int32_t version : {2, 5, -4}) {
    source.version = version;
    refused.emplace_back("version " + std::to_string(version), formats::EncodeMs3d(source));
  }
  for (size_t i = 0; i < 10; ++i) {
    refused.emplace_back("identifier byte " + std::to_string(i), whole);
    refused.back().second[i] ^= 0x20;
  }
  for (size_t length = 0; length < kEnd; ++length) {
    refused.emplace_back("cut at " + std::to_string(length),
                         Bytes(whole.begin(), whole.begin() + long(length)));
  }
  for (auto [what, offset, value] :
       {std::tuple{"vertex index = vertex count", kTriangles + 2, 8},
        {"last corner of last triangle", kTriangles + 11 * 70 + 6, 0xFFFF},
        {"triangle index = triangle count", kGroup + 35, 12},
        {"vertex count beyond the file", formats::kMs3dHeaderSize, 0xFFFF},
        {"material index 1 of 1", kMaterial - 3, 1},
        {"material index 127", kMaterial - 3, 127}}) {
    refused.emplace_back(what, whole);
    refused.back().second[offset] = uint8_t(value);
    if (offset != kMaterial - 3) refused.back().second[offset + 1] = uint8_t(value >> 8);
  }
  for (const auto& [what, bytes] : refused) {
    Ms3dMesh mesh;
    mesh.vertices.resize(5);
    EXPECT_FALSE(Parse(bytes, mesh)) << what;
    EXPECT_EQ(mesh.vertices.size(), 5u) << what;
  }
  // Version 3, the animation section missing and a negative material index ("none") are fine.
  source.version = 3;
  Ms3dMesh mesh;
  EXPECT_TRUE(Parse(formats::EncodeMs3d(source), mesh));
  Bytes noMaterial(whole.begin(), whole.begin() + long(kEnd));
  noMaterial[kMaterial - 3] = 0xFF;
  ASSERT_TRUE(Parse(noMaterial, mesh));
  EXPECT_EQ(mesh.groups[0].materialIndex, -1);
}

TEST(Ms3dFormat, RewritesTexturePathsIntoTheModelFolder) {
  // Where the older reading ("skin.bmp", "sub/skin.bmp" in the working folder, or the odd
  // "Data./x.bmp") names a file, that file stays in use.
  FileExists older = [](const char* path) {
    return std::string(path) == "skin.bmp" || std::string(path) == "Data./x.bmp";
  };
  for (auto [stored, folder, exists, used] :
       {std::tuple{"./skin.bmp", "Data", FileExists{}, "Data/skin.bmp"},
        {".\\skin.bmp", "Data", older, "Data/skin.bmp"},
        {"../textures/skin.bmp", "Data/Cars", older, "Data/Cars/../textures/skin.bmp"},
        {"..\\textures\\skin.bmp", "Data/Cars", older, "Data/Cars/../textures/skin.bmp"},
        {"skin.bmp", "Data", FileExists{}, "Data/skin.bmp"},
        {"skin.bmp", "Data", older, "skin.bmp"},
        {"sub\\skin.bmp", "Data", older, "Data/sub/skin.bmp"},
        {"./x.bmp", "Data", older, "Data/x.bmp"},
        {"../x.bmp", "Data", older, "Data./x.bmp"},
        {"", "Data", older, ""},
        {"/usr/share/skin.bmp", "Data", older, "/usr/share/skin.bmp"},
        {"./skin.bmp", ".", FileExists{}, "./skin.bmp"},
        {"skin.bmp", ".", FileExists{}, "./skin.bmp"}}) {
    char texture[128] = {};
    std::strcpy(texture, stored);
    RewriteTexturePath(texture, folder, exists);
    EXPECT_STREQ(texture, used) << stored << " in " << folder;
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
  ASSERT_TRUE(
      Parse(formats::EncodeMs3d(testing_support::CubeMesh("/" + std::string(127, 'y'))), mesh));
  EXPECT_EQ(std::string(mesh.materials[0].texture), "/" + std::string(126, 'y'));
}

TEST(Ms3dFormat, SkinsAreLookedForAndKeptInsideTheDataFolderInUse) {
  // The data elsewhere, and a file of the bare skin's name in the working folder: the skin is
  // the data folder's. A skin path that leaves the data folder counts as missing.
  testing_support::ScratchFolder scratch;
  const std::filesystem::path root = scratch.path() / "installed";
  std::filesystem::create_directories(root / "Data");
  std::ofstream(root / "Data" / "skin.bmp") << "x";
  std::ofstream(scratch.path() / "skin.bmp") << "x";
  SetDataRoot(root.string());
  const std::string abs = scratch.path().string();  // a model named by an absolute path
  for (auto [stored, model, used] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"skin.bmp", "Data/car.ms3d", "Data/skin.bmp"},
           {"../Cars/skin.bmp", "Data/car.ms3d", "Data/../Cars/skin.bmp"},
           {"../../skin.bmp", "Data/car.ms3d", ""},
           {"/etc/passwd", "Data/car.ms3d", ""},
           {"/etc/passwd", abs + "/car.ms3d", ""},
           {"skin.bmp", abs + "/car.ms3d", abs + "/skin.bmp"},
           {"../skin.bmp", abs + "/m/car.ms3d", ""}}) {
    const std::filesystem::path file =
        model[0] == '/' ? std::filesystem::path(model) : root / model;
    std::filesystem::create_directories(file.parent_path());
    const Bytes bytes = formats::EncodeMs3d(testing_support::CubeMesh(stored));
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    const auto requests = ModelTextureRequests(model.c_str());
    EXPECT_EQ(requests.empty() ? "" : requests[0].fileName, used) << stored << " in " << model;
    std::filesystem::remove(file);
  }
  SetDataRoot("");
}

}  // namespace
