// Model::load in a headless GL context: the compiled list's triangles, texture coordinates,
// materials and texturing, refused files, and reloads after the context is replaced.
#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <tuple>

#include "assets/model.h"
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"
#include "platform/gl_context_generation.h"
#include "support/gl_fixture.h"
#include "support/model_meshes.h"

namespace {

using Rgb = std::array<unsigned char, 3>;

// Models and their green 2 by 2 skin in the temporary folder, named uniquely for the process.
class ModelGlTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    formats::WriteBmpFile(path("skin.bmp"), formats::Picture(2, 2, {0, 255, 0}));
  }
  static std::string path(const std::string& name) {
    return ::testing::TempDir() + "quillon_" + std::to_string(getpid()) + "_" + name;
  }
  static std::string write(const std::string& name, const formats::Ms3dMesh& mesh) {
    formats::WriteMs3dFile(path(name), mesh);
    return path(name);
  }
  // The skin as a model in the same folder names it.
  const std::string skin = "./" + path("skin.bmp").substr(::testing::TempDir().size());
};

TEST_F(ModelGlTest, CubeLoadsIntoAListOfTwelveTexturedTriangles) {
  Model model;
  ASSERT_TRUE(model.load(write("cube.ms3d", testing_support::CubeMesh(skin)).c_str()));
  EXPECT_EQ(std::tuple(model.vertexCount(), model.triangleCount(), model.groupCount(),
                       model.materialCount()),
            std::tuple(8, 12, 1, 1));
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
  EXPECT_EQ(GLuint(bound), model.materials[0].textureId);
  GLfloat diffuse[4], shininess = 0;
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
  EXPECT_EQ(std::tuple(diffuse[0], shininess), std::tuple(0.9f, 12.5f));

  // Without groups the list draws nothing and still leaves texturing off.
  model.groups.clear();
  model.buildDisplayList();
  glEnable(GL_TEXTURE_2D);
  EXPECT_TRUE(testing_support::CaptureFeedback([&] { glCallList(model.displayList); }).empty());
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

// Three squares of a 2 by 2 grid seen from above: bottom left with the green skin, top right
// without material, bottom right with a missing skin. Only the first is textured.
TEST_F(ModelGlTest, GroupsWithoutMaterialOrSkinAreDrawnUntextured) {
  formats::Ms3dMesh mesh = testing_support::GridMesh(2);
  mesh.groups = {{0, "", {0, 1}, 0}, {0, "", {6, 7}, -1}, {0, "", {2, 3}, 1}};
  mesh.materials.resize(2);
  mesh.materials[0].diffuse = {0.1f, 0.2f, 0.3f, 1};
  mesh.materials[0].texture = skin;
  mesh.materials[1].texture = "./gone.bmp";
  Model model;
  ASSERT_TRUE(model.load(write("squares.ms3d", mesh).c_str()));
  EXPECT_EQ(model.materials[1].textureId, 0u);
  glTranslatef(-1, -1, 0);
  glRotatef(-90, 1, 0, 0);  // the grid's (x, z) on the screen's (x, y)
  glCallList(model.displayList);
  EXPECT_EQ(pixel(200, 150), (Rgb{0, 255, 0}));
  EXPECT_EQ(pixel(600, 450), (Rgb{255, 255, 255}));
  EXPECT_EQ(pixel(600, 150), (Rgb{255, 255, 255}));
  // A group without material keeps the material before it.
  model.groups.pop_back();
  model.buildDisplayList();
  glCallList(model.displayList);
  GLfloat diffuse[4];
  glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
  EXPECT_FLOAT_EQ(diffuse[1], 0.2f);
}

TEST_F(ModelGlTest, RefusedFilesKeepTheModelUntilTheContextIsReplaced) {
  const std::string cube = write("cube.ms3d", testing_support::CubeMesh(skin));
  Model model;
  ASSERT_TRUE(model.load(cube.c_str()));
  const GLuint first = model.displayList;
  formats::Ms3dMesh badIndex = testing_support::CubeMesh(skin);
  badIndex.triangles[4].vertexIndices[1] = 8;
  for (const std::string& file : {write("bad.ms3d", badIndex), path("absent.ms3d")}) {
    EXPECT_FALSE(model.load(file.c_str())) << file;
    EXPECT_EQ(std::tuple(model.triangleCount(), model.displayList, glIsList(first)),
              std::tuple(12, first, GL_TRUE))
        << file;
  }
  // Standing in for the F1 context change: the old list number is no longer the model's to
  // delete, and a failed reload empties the model.
  platform::AdvanceGlContextGeneration();
  ASSERT_TRUE(model.load(cube.c_str()));
  EXPECT_TRUE(glIsList(first));
  const GLuint second = model.displayList;
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
