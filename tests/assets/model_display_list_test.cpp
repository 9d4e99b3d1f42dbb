// Model::load in a headless GL context: the compiled list's triangles, texture coordinates,
// materials and texturing, refused files, and reloads after the context is replaced.
#include <gtest/gtest.h>

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
using Rgb = std::array<unsigned char, 3>;

class ModelGlTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    folder_ = fs::temp_directory_path() /
              ("quillon-model-" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(folder_);
    formats::WriteBmpFile(path("skin.bmp"), formats::Picture(2, 2, {0, 255, 0}));
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }
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
  ASSERT_TRUE(glIsList(model.displayList));
  EXPECT_EQ(model.materials[0].texture, path("skin.bmp"));
  ASSERT_NE(model.materials[0].textureId, 0u);

  glScalef(0.5f, 0.5f, 0.5f);
  auto polygons = testing_support::CaptureFeedback([&] { glCallList(model.displayList); });
  ASSERT_EQ(polygons.size(), 12u);
  for (const auto& polygon : polygons) {
    ASSERT_EQ(polygon.vertices.size(), 3u);
    for (int k = 0; k < 3; ++k) {  // (s, -t) of corner k: s = 0.25 (k + 1), t = 0.75 - 0.25 k
      EXPECT_FLOAT_EQ(polygon.vertices[k].s, 0.25f * (k + 1));
      EXPECT_FLOAT_EQ(polygon.vertices[k].t, 0.25f * k - 0.75f);
    }
  }
  // A call leaves texturing off, the skin bound and the material set.
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), model.materials[0].textureId);
  GLfloat diffuse[4], shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_FLOAT_EQ(diffuse[0], 0.9f);
  EXPECT_FLOAT_EQ(shininess, 12.5f);

  // Without groups the list draws nothing and still leaves texturing off.
  formats::Ms3dMesh bare = testing_support::CubeMesh();
  bare.groups.clear();
  ASSERT_TRUE(model.load(write("bare.ms3d", bare).c_str()));
  glEnable(GL_TEXTURE_2D);
  EXPECT_TRUE(testing_support::CaptureFeedback([&] { glCallList(model.displayList); }).empty());
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

// Three unit squares: bottom left with the green skin, top right without material, bottom right
// with a missing skin. Only the first is textured; the second keeps the first's material.
TEST_F(ModelGlTest, GroupsWithoutMaterialOrSkinAreDrawnUntextured) {
  formats::Ms3dMesh mesh;
  const float corners[3][2] = {{-1, -1}, {0, 0}, {0, -1}};
  for (int q = 0; q < 3; ++q) {
    formats::Ms3dGroup group;
    group.materialIndex = static_cast<int8_t>(q == 0 ? 0 : q == 1 ? -1 : 1);
    for (int i = 0; i < 4; ++i) {
      formats::Ms3dVertex v;
      v.position = {corners[q][0] + (i == 1 || i == 2), corners[q][1] + (i >= 2), 0};
      mesh.vertices.push_back(v);
    }
    for (int half = 0; half < 2; ++half) {
      formats::Ms3dTriangle t;
      auto base = static_cast<uint16_t>(4 * q);
      t.vertexIndices = {base, static_cast<uint16_t>(base + 1 + half),
                         static_cast<uint16_t>(base + 2 + half)};
      t.s = t.t = {0.5f, 0.5f, 0.5f};
      group.triangleIndices.push_back(static_cast<uint16_t>(mesh.triangles.size()));
      mesh.triangles.push_back(t);
    }
    mesh.groups.push_back(group);
  }
  mesh.materials.resize(2);
  mesh.materials[0].texture = "./skin.bmp";
  mesh.materials[0].diffuse = {0.1f, 0.2f, 0.3f, 1.0f};
  mesh.materials[1].texture = "./gone.bmp";

  Model model;
  ASSERT_TRUE(model.load(write("squares.ms3d", mesh).c_str()));
  EXPECT_EQ(model.materials[1].textureId, 0u);
  glCallList(model.displayList);
  EXPECT_EQ(pixel(200, 150), (Rgb{0, 255, 0}));
  EXPECT_EQ(pixel(600, 450), (Rgb{255, 255, 255}));
  EXPECT_EQ(pixel(600, 150), (Rgb{255, 255, 255}));

  model.groups.pop_back();
  model.buildDisplayList();
  glCallList(model.displayList);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[1], 0.2f);
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
  GLuint second = model.displayList;
  EXPECT_NE(second, first);

  platform::AdvanceGlContextGeneration();
  EXPECT_FALSE(model.load(path("absent.ms3d").c_str()));
  EXPECT_EQ(model.displayList, 0u);
  EXPECT_EQ(model.vertexCount() + model.groupCount() + model.materialCount(), 0);
  EXPECT_TRUE(glIsList(second));
  glDeleteLists(first, 1);
  glDeleteLists(second, 1);
}

}  // namespace
