// Model::load in a headless GL context: the compiled list's triangles, texture coordinates,
// materials and texturing, refused files, and reloads after the context is replaced.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "assets/model.h"
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"
#include "platform/gl_context_generation.h"
#include "support/gl_fixture.h"
#include "support/model_meshes.h"

namespace {

namespace fs = std::filesystem;

class ModelGlTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    folder_ =
        fs::temp_directory_path() /
        ("quillon-model-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_ / "Data");
    formats::WriteBmpFile(path("skin.bmp"), formats::Picture(2, 2, {0, 255, 0}));
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / "Data" / name).string(); }
  std::string write(const std::string& name, const formats::Ms3dMesh& mesh) {
    formats::WriteMs3dFile(path(name), mesh);
    return path(name);
  }

  fs::path folder_;
};

TEST_F(ModelGlTest, CubeLoadsIntoAListOfTwelveTexturedTriangles) {
  Model model;
  ASSERT_TRUE(model.load(write("cube.ms3d", testing_support::CubeMesh()).c_str()));
  EXPECT_EQ(model.vertexCount(), 8);
  EXPECT_EQ(model.triangleCount(), 12);
  EXPECT_EQ(model.groupCount(), 1);
  EXPECT_EQ(model.materialCount(), 1);
  ASSERT_NE(model.displayList, 0u);
  EXPECT_TRUE(glIsList(model.displayList));
  EXPECT_EQ(model.materials[0].texture, path("skin.bmp"));
  GLuint texture = model.materials[0].textureId;
  ASSERT_NE(texture, 0u);

  glScalef(0.5f, 0.5f, 0.5f);
  auto polygons = testing_support::CaptureFeedback([&] { glCallList(model.displayList); });
  ASSERT_EQ(polygons.size(), 12u);
  for (const auto& polygon : polygons) {
    ASSERT_EQ(polygon.vertices.size(), 3u);
    for (int k = 0; k < 3; ++k) {
      EXPECT_FLOAT_EQ(polygon.vertices[k].s, 0.25f * (k + 1));
      EXPECT_FLOAT_EQ(polygon.vertices[k].t, -(0.75f - 0.25f * k));
    }
  }
  // A call leaves texturing off, the skin bound and the material set.
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), texture);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[0], 0.9f);
  EXPECT_FLOAT_EQ(diffuse[2], 0.2f);
  GLfloat shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_FLOAT_EQ(shininess, 12.5f);
}

// Left half: a group with the green skin. Right half: a group without material, then a group
// whose skin file is missing. Only the first is textured; the second keeps the first's material.
TEST_F(ModelGlTest, GroupsWithoutMaterialOrSkinAreDrawnUntextured) {
  formats::Ms3dMesh mesh;
  const float quads[3][2] = {{-1, 0}, {0, 1}, {0, 1}};
  const float bottom[3] = {-1, 0, -1};
  for (int q = 0; q < 3; ++q) {
    auto base = static_cast<uint16_t>(mesh.vertices.size());
    float x0 = quads[q][0], x1 = quads[q][1], y0 = bottom[q], y1 = y0 + 1;
    for (auto [x, y] : {std::pair{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}) {
      formats::Ms3dVertex v;
      v.position = {x, y, 0};
      mesh.vertices.push_back(v);
    }
    formats::Ms3dGroup group;
    group.materialIndex = static_cast<int8_t>(q == 0 ? 0 : q == 1 ? -1 : 1);
    for (auto corners : {std::array<uint16_t, 3>{0, 1, 2}, {0, 2, 3}}) {
      formats::Ms3dTriangle t;
      for (int k = 0; k < 3; ++k) t.vertexIndices[k] = static_cast<uint16_t>(base + corners[k]);
      t.s = {0.5f, 0.5f, 0.5f};
      t.t = {0.5f, 0.5f, 0.5f};
      group.triangleIndices.push_back(static_cast<uint16_t>(mesh.triangles.size()));
      mesh.triangles.push_back(t);
    }
    mesh.groups.push_back(group);
  }
  formats::Ms3dMaterial skinned;
  skinned.texture = "./skin.bmp";
  skinned.diffuse = {0.1f, 0.2f, 0.3f, 1.0f};
  formats::Ms3dMaterial missing;
  missing.texture = "./gone.bmp";
  mesh.materials = {skinned, missing};

  Model model;
  ASSERT_TRUE(model.load(write("quads.ms3d", mesh).c_str()));
  EXPECT_NE(model.materials[0].textureId, 0u);
  EXPECT_EQ(model.materials[1].textureId, 0u);
  EXPECT_EQ(model.groups[1].materialIndex, -1);

  // Without the third group, the material left behind is the first group's.
  model.groups.pop_back();
  model.buildDisplayList();
  glCallList(model.displayList);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[1], 0.2f);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(pixel(200, 150), (std::array<unsigned char, 3>{0, 255, 0}));
  EXPECT_EQ(pixel(600, 450), (std::array<unsigned char, 3>{255, 255, 255}));
  EXPECT_EQ(pixel(600, 150), (std::array<unsigned char, 3>{0, 0, 0}));
}

TEST_F(ModelGlTest, ModelWithoutGroupsDrawsNothing) {
  formats::Ms3dMesh mesh = testing_support::CubeMesh();
  mesh.groups.clear();
  Model model;
  ASSERT_TRUE(model.load(write("empty.ms3d", mesh).c_str()));
  ASSERT_NE(model.displayList, 0u);
  glEnable(GL_TEXTURE_2D);
  auto polygons = testing_support::CaptureFeedback([&] { glCallList(model.displayList); });
  EXPECT_TRUE(polygons.empty());
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(ModelGlTest, RefusedFilesLeaveTheModelAsItWas) {
  Model model;
  ASSERT_TRUE(model.load(write("cube.ms3d", testing_support::CubeMesh()).c_str()));
  GLuint list = model.displayList;

  formats::Ms3dMesh wrongVersion = testing_support::CubeMesh();
  wrongVersion.version = 5;
  formats::Ms3dMesh badIndex = testing_support::CubeMesh();
  badIndex.triangles[4].vertexIndices[1] = 8;
  std::vector<uint8_t> bytes = formats::EncodeMs3d(testing_support::CubeMesh());
  bytes.resize(bytes.size() / 2);
  formats::WriteBytesToFile(path("short.ms3d"), bytes);

  for (const std::string& file : {write("v5.ms3d", wrongVersion), write("bad.ms3d", badIndex),
                                  path("short.ms3d"), path("absent.ms3d")}) {
    EXPECT_FALSE(model.load(file.c_str())) << file;
    EXPECT_EQ(model.triangleCount(), 12) << file;
    EXPECT_EQ(model.displayList, list) << file;
    EXPECT_TRUE(glIsList(list)) << file;
  }
  Model fresh;
  EXPECT_FALSE(fresh.load(path("v5.ms3d").c_str()));
  EXPECT_EQ(fresh.vertexCount(), 0);
  EXPECT_EQ(fresh.displayList, 0u);
}

TEST_F(ModelGlTest, ReloadInANewContextForgetsTheOldListAndAFailedOneEmptiesTheModel) {
  std::string cube = write("cube.ms3d", testing_support::CubeMesh());
  Model model;
  ASSERT_TRUE(model.load(cube.c_str()));
  GLuint first = model.displayList;

  // Standing in for the F1 context change: the old number is no longer the model's to delete.
  platform::AdvanceGlContextGeneration();
  ASSERT_TRUE(model.load(cube.c_str()));
  EXPECT_TRUE(glIsList(first));
  EXPECT_NE(model.displayList, first);
  GLuint second = model.displayList;

  platform::AdvanceGlContextGeneration();
  EXPECT_FALSE(model.load(path("absent.ms3d").c_str()));
  EXPECT_EQ(model.displayList, 0u);
  EXPECT_EQ(model.vertexCount(), 0);
  EXPECT_EQ(model.groupCount(), 0);
  EXPECT_TRUE(glIsList(second));
  glDeleteLists(first, 1);
  glDeleteLists(second, 1);
}

}  // namespace
