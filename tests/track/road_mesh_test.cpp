// The road display list, read back through GL feedback in track coordinates.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gl_context_generation.h"
#include "support/gl_fixture.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

struct Corner {
  float x, y, z, s, t;
};
using Triangle = std::vector<Corner>;
constexpr double Extent = 64;

class RoadMeshTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-Extent, Extent, -Extent, Extent, -Extent, Extent);
    glMatrixMode(GL_MODELVIEW);
  }
  void TearDown() override { glDeleteLists(track.roadList, 1); }

  // Every polygon the road list draws (a quad arrives as two triangles), mapped back through
  // the orthographic projection.
  std::vector<Triangle> draw() {
    std::vector<Triangle> result;
    for (const auto& polygon :
         testing_support::CaptureFeedback([&] { glCallList(track.roadList); })) {
      Triangle& corners = result.emplace_back();
      for (const auto& v : polygon.vertices)
        corners.push_back({static_cast<float>(v.x / 800.0 * 2 * Extent - Extent),
                           static_cast<float>(v.y / 600.0 * 2 * Extent - Extent),
                           static_cast<float>((1 - 2 * v.z) * Extent), v.s, v.t});
    }
    return result;
  }
  Track track;
};

// Quad number `quad` has the corner with texture coordinates (s, t) at (x, y, z).
void ExpectCorner(const std::vector<Triangle>& drawn, size_t quad, float s, float t, float x,
                  float y, float z) {
  for (size_t half : {2 * quad, 2 * quad + 1})
    for (const Corner& c : drawn.at(half))
      if (c.s == s && c.t == t) {
        EXPECT_NEAR(c.x, x, 1e-4) << "quad " << quad;
        EXPECT_NEAR(c.y, y, 1e-4) << "quad " << quad;
        EXPECT_NEAR(c.z, z, 1e-4) << "quad " << quad;
        return;
      }
  ADD_FAILURE() << "quad " << quad << " has no corner " << s << ", " << t;
}

TEST_F(RoadMeshTest, RoadThenTwoWallsWithClosingPiecesAtFixedPoints) {
  for (auto [index, quads] : {std::pair{0, size_t{480}}, std::pair{1, size_t{520}}}) {
    track.curve = BuiltInTrackCurve(index);
    track.buildRoad();
    const std::vector<Triangle> drawn = draw();
    ASSERT_EQ(drawn.size(), 2 * 3 * quads);     // road quads, then two walls of as many
    ExpectCorner(drawn, 0, 0, 0, 0, 0, -0.7f);  // first road quad: left edge of the start
    ExpectCorner(drawn, 0, 1, 0, 0, 0, 0.7f);
    ExpectCorner(drawn, quads - 1, 1, 1, 1, 0, 0.7f);  // closing road quad reaches x = 1
    ExpectCorner(drawn, quads - 1, 0, 1, 1, 0, -0.7f);
    ExpectCorner(drawn, quads, 0, 0, 0, 0, -0.7f);  // first left wall, top moved by the offset
    ExpectCorner(drawn, quads, 0, 1, 0, 0.08f, -0.89f);
    const size_t closingLeft = 3 * quads - 2;
    ExpectCorner(drawn, closingLeft, 1, 0, 0, 0, -0.7f);
    ExpectCorner(drawn, closingLeft, 1, 1, 0, 0.08f, -0.89f);
    ExpectCorner(drawn, closingLeft + 1, 1, 0, 0, 0, 0.7f);
    ExpectCorner(drawn, closingLeft + 1, 1, 1, 0, 0.08f, 0.89f);
  }
}

TEST_F(RoadMeshTest, ListLeavesItsStateAndRebuildDeletesOnlyAListOfThisContext) {
  GLuint textures[2];
  glGenTextures(2, textures);
  track.roadTexture = textures[0];
  track.borderTexture = textures[1];
  track.curve = BuiltInTrackCurve(2);
  track.buildRoad();
  const GLuint first = track.roadList;
  glColor3f(1, 0, 0);
  const std::vector<Triangle> before = draw();
  // Texturing off, colour white, the border texture bound.
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), textures[1]);
  glDeleteTextures(2, textures);

  const GLuint other = glGenLists(1);  // keeps the rebuild from reusing the first number
  track.buildRoad();
  EXPECT_FALSE(glIsList(first));
  const std::vector<Triangle> after = draw();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i)
    for (size_t k = 0; k < 3; ++k) EXPECT_EQ(after[i][k].z, before[i][k].z);

  // After F1 the old number may name another object of the new context: it must survive.
  const GLuint stale = track.roadList;
  platform::AdvanceGlContextGeneration();
  track.buildRoad();
  EXPECT_TRUE(glIsList(stale));
  EXPECT_NE(track.roadList, stale);
  glDeleteLists(stale, 1);
  glDeleteLists(other, 1);
}

TEST_F(RoadMeshTest, ShortOrDegenerateLines) {
  track.curve.points = {{-1, 0, 0}, {0, 0, 0}};  // no pass: only the three closing quads
  track.buildRoad();
  std::vector<Triangle> drawn = draw();
  ASSERT_EQ(drawn.size(), 6u);
  ExpectCorner(drawn, 0, 0, 0, -1, 0, -0.7f);
  for (size_t count : {1, 0}) {  // an empty list, not a read past the end
    track.curve.points.resize(count);
    track.buildRoad();
    EXPECT_TRUE(draw().empty());
  }
  // A zero-length step keeps the previous side direction ((0, 0, -1) at the start).
  track.curve.points = {{0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 1}, {0, 0, 2}, {0, 0, 0}};
  track.buildRoad();
  drawn = draw();
  for (const Triangle& triangle : drawn)
    for (const Corner& c : triangle) {
      ASSERT_TRUE(std::isfinite(c.x));
      ASSERT_TRUE(std::isfinite(c.z));
    }
  ExpectCorner(drawn, 0, 0, 0, 0, 0, -0.7f);
  ExpectCorner(drawn, 0, 1, 1, -0.7f, 0, 0);
  ExpectCorner(drawn, 1, 1, 1, -0.7f, 0, 1);
}

}  // namespace
