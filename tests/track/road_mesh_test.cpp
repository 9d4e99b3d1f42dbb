// The road display list, read back through GL feedback.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gl_context_generation.h"
#include "support/gl_fixture.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

using testing_support::FeedbackPolygon;
using testing_support::FeedbackVertex;

// A feedback vertex mapped back to track units, with its texture coordinates.
struct Corner {
  float x, y, z, s, t;
};
using Polygon = std::vector<Corner>;

class RoadMeshTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-kExtent, kExtent, -kExtent, kExtent, -kExtent, kExtent);
    glMatrixMode(GL_MODELVIEW);
  }

  // Every polygon the road list draws, in track coordinates.
  std::vector<Polygon> draw(GLuint list) {
    std::vector<Polygon> result;
    for (const FeedbackPolygon& polygon :
         testing_support::CaptureFeedback([&] { glCallList(list); })) {
      Polygon corners;
      for (const FeedbackVertex& v : polygon.vertices) {
        corners.push_back({static_cast<float>(v.x / 800.0 * 2 * kExtent - kExtent),
                           static_cast<float>(v.y / 600.0 * 2 * kExtent - kExtent),
                           static_cast<float>((1 - 2 * v.z) * kExtent), v.s, v.t});
      }
      result.push_back(corners);
    }
    return result;
  }

  static constexpr double kExtent = 64;
};

// Polygons come as triangles: the two halves of one quad share its (s, t) = (1, 1) corner.
Corner QuadCorner(const std::vector<Polygon>& polygons, size_t quad, float s, float t) {
  for (size_t half : {2 * quad, 2 * quad + 1})
    for (const Corner& c : polygons.at(half))
      if (c.s == s && c.t == t) return c;
  ADD_FAILURE() << "quad " << quad << " has no corner " << s << ", " << t;
  return {};
}

void ExpectAt(const Corner& c, float x, float y, float z) {
  EXPECT_NEAR(c.x, x, 1e-4);
  EXPECT_NEAR(c.y, y, 1e-4);
  EXPECT_NEAR(c.z, z, 1e-4);
}

size_t WallTriangles(const std::vector<Polygon>& polygons) {
  size_t walls = 0;
  for (const Polygon& polygon : polygons) {
    bool top = false;
    for (const Corner& c : polygon) top = top || c.y > 0.04f;
    walls += top;
  }
  return walls;
}

TEST_F(RoadMeshTest, BuiltInTracksGiveOneRoadQuadAndTwoWallQuadsPerStep) {
  struct Expected {
    int index;
    size_t roadQuads;
  } cases[] = {{0, 480}, {1, 520}};
  for (const Expected& c : cases) {
    Track track;
    track.curve = BuiltInTrackCurve(c.index);
    track.buildRoad();
    const std::vector<Polygon> polygons = draw(track.roadList);
    ASSERT_EQ(polygons.size(), 2 * 3 * c.roadQuads);
    for (const Polygon& polygon : polygons) EXPECT_EQ(polygon.size(), 3u);
    EXPECT_EQ(WallTriangles(polygons), 2 * 2 * c.roadQuads);
    // The road comes first, every triangle of it flat.
    EXPECT_EQ(WallTriangles({polygons.begin(), polygons.begin() + 2 * c.roadQuads}), 0u);

    // First road quad: from the start point's edges (left -z, right +z) to point 1's.
    ExpectAt(QuadCorner(polygons, 0, 0, 0), 0, 0, -0.7f);
    ExpectAt(QuadCorner(polygons, 0, 1, 0), 0, 0, 0.7f);
    // Closing road quad ends at x = 1, over the start straight.
    const size_t closing = c.roadQuads - 1;
    ExpectAt(QuadCorner(polygons, closing, 1, 1), 1, 0, 0.7f);
    ExpectAt(QuadCorner(polygons, closing, 0, 1), 1, 0, -0.7f);
    // Closing walls (the last two quads): left then right, ending at the start point.
    const size_t leftWall = c.roadQuads + 2 * c.roadQuads - 2;
    ExpectAt(QuadCorner(polygons, leftWall, 1, 0), 0, 0, -0.7f);
    ExpectAt(QuadCorner(polygons, leftWall, 1, 1), 0, 0.08f, -0.89f);
    ExpectAt(QuadCorner(polygons, leftWall + 1, 1, 0), 0, 0, 0.7f);
    ExpectAt(QuadCorner(polygons, leftWall + 1, 1, 1), 0, 0.08f, 0.89f);
    // First left wall: its top edge is the bottom moved by (0, 0.08, -0.19).
    const Corner bottom = QuadCorner(polygons, c.roadQuads, 0, 0);
    const Corner top = QuadCorner(polygons, c.roadQuads, 0, 1);
    ExpectAt(bottom, 0, 0, -0.7f);
    ExpectAt(top, bottom.x, bottom.y + 0.08f, bottom.z - 0.19f);
  }
}

TEST_F(RoadMeshTest, RebuildReplacesTheListAndDrawsTheSame) {
  Track track;
  track.curve = BuiltInTrackCurve(2);
  track.buildRoad();
  const GLuint first = track.roadList;
  const std::vector<Polygon> before = draw(first);
  GLuint other = glGenLists(1);  // keeps the second build from reusing the first number
  track.buildRoad();
  EXPECT_NE(track.roadList, first);
  EXPECT_FALSE(glIsList(first));
  const std::vector<Polygon> after = draw(track.roadList);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i)
    for (size_t k = 0; k < after[i].size(); ++k) {
      EXPECT_EQ(after[i][k].x, before[i][k].x);
      EXPECT_EQ(after[i][k].z, before[i][k].z);
    }
  glDeleteLists(other, 1);
  glDeleteLists(track.roadList, 1);
}

TEST_F(RoadMeshTest, ListFromAnEarlierContextIsForgottenNotDeleted) {
  Track track;
  track.curve = BuiltInTrackCurve(0);
  track.buildRoad();
  const GLuint stale = track.roadList;
  platform::AdvanceGlContextGeneration();  // as after F1: the number may now be someone else's
  track.buildRoad();
  EXPECT_TRUE(glIsList(stale));
  EXPECT_NE(track.roadList, stale);
  glDeleteLists(stale, 1);
  glDeleteLists(track.roadList, 1);
}

TEST_F(RoadMeshTest, ShortLinesDrawOnlyClosingPiecesOrNothing) {
  Track track;
  track.curve.points = {{-1, 0, 0}, {0, 0, 0}};
  track.buildRoad();
  std::vector<Polygon> polygons = draw(track.roadList);
  ASSERT_EQ(polygons.size(), 6u);
  ExpectAt(QuadCorner(polygons, 0, 0, 0), -1, 0, -0.7f);
  ExpectAt(QuadCorner(polygons, 0, 1, 1), 1, 0, 0.7f);

  track.curve.points = {{0, 0, 0}};
  track.buildRoad();
  EXPECT_TRUE(draw(track.roadList).empty());
  track.curve.points.clear();
  track.buildRoad();
  EXPECT_TRUE(draw(track.roadList).empty());
  glDeleteLists(track.roadList, 1);
}

TEST_F(RoadMeshTest, ZeroLengthStepKeepsThePreviousSideDirection) {
  Track track;
  track.curve.points = {{0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 1}, {0, 0, 2}, {0, 0, 0}};
  track.buildRoad();
  const std::vector<Polygon> polygons = draw(track.roadList);
  for (const Polygon& polygon : polygons)
    for (const Corner& c : polygon) ASSERT_TRUE(std::isfinite(c.x) && std::isfinite(c.z));
  // Point 0 falls back to the +x direction's side; point 1 takes the +z step's side, and
  // point 2 keeps it across the repeated point.
  ExpectAt(QuadCorner(polygons, 0, 0, 0), 0, 0, -0.7f);
  ExpectAt(QuadCorner(polygons, 0, 1, 1), -0.7f, 0, 0);
  ExpectAt(QuadCorner(polygons, 1, 1, 1), -0.7f, 0, 1);
  glDeleteLists(track.roadList, 1);
}

TEST_F(RoadMeshTest, ListLeavesTexturingOffColourWhiteAndBorderTextureBound) {
  GLuint textures[2];
  glGenTextures(2, textures);
  Track track;
  track.curve = BuiltInTrackCurve(0);
  track.roadTexture = textures[0];
  track.borderTexture = textures[1];
  track.buildRoad();
  glColor3f(1, 0, 0);
  glCallList(track.roadList);
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0], 1.0f);
  EXPECT_EQ(colour[1], 1.0f);
  EXPECT_EQ(colour[2], 1.0f);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), textures[1]);
  glDeleteLists(track.roadList, 1);
  glDeleteTextures(2, textures);
}

}  // namespace
