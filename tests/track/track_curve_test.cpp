// Sampling of control points into a closed centre line.
#include <gtest/gtest.h>

#include <array>

#include "track/track_curve.h"

namespace {

TrackCurve Generated(int32_t steps, int pointCount) {
  TrackCurve curve(steps);
  for (int i = 0; i < pointCount; ++i) curve.controlPoints.push_back(Vector3d(i, 0, i % 2));
  curve.generate();
  return curve;
}

void ExpectEqual(const Vector3d& a, const Vector3d& b) {
  EXPECT_EQ((std::array{a.x, a.y, a.z}), (std::array{b.x, b.y, b.z}));
}

TEST(BezierPointTest, EndsAreExactControlPoints) {
  const Vector3d p[4] = {{0.1, -3.7, 1e-3}, {5, 6, 7}, {-8, 9, 10}, {12.3, 0.3, -44.1}};
  ExpectEqual(BezierPoint(1.0f, p), p[0]);
  ExpectEqual(BezierPoint(0.0f, p), p[3]);
}

TEST(TrackCurveTest, PointCountsFollowGroupsAndSteps) {
  struct Case {
    int32_t steps;
    int controlPoints;
    size_t expected;
  } cases[] = {
      {40, 4, 81},  {40, 2, 41},
      {40, 3, 41},  {40, 5, 81},
      {40, 8, 121}, {0, 4, 1},
      {-3, 4, 1},   {40, 1, 0},
      {40, 0, 0},   {1, 4 * 32768, 32767 + 2}};  // the group counter stops at the 16-bit limit
  for (const Case& c : cases) {
    EXPECT_EQ(Generated(c.steps, c.controlPoints).points.size(), c.expected)
        << c.steps << " steps, " << c.controlPoints << " control points";
  }
}

TEST(TrackCurveTest, LineStartsAndEndsAtFirstControlPoint) {
  TrackCurve curve(40);
  curve.controlPoints = {{0, 0, 0}, {1, 0, 0}, {4, 0, 0}, {5, 0, 0}};
  curve.generate();
  ASSERT_EQ(curve.points.size(), 81u);
  ExpectEqual(curve.points[0], Vector3d(0, 0, 0));
  EXPECT_NEAR(curve.points[1].x, 0.0787, 5e-5);
  EXPECT_TRUE(curve.points[1].y == 0.0 && curve.points[1].z == 0.0);
  // The closing segment starts at the last control point and, with its mirrored handle at
  // x = -1, comes back to the origin from -x.
  ExpectEqual(curve.points[40], Vector3d(5, 0, 0));
  EXPECT_TRUE(curve.points[79].x < 0.0 && curve.points[79].x > -0.1);
  ExpectEqual(curve.points[80], Vector3d(0, 0, 0));
}

TEST(TrackCurveTest, FifthPointOnlyStartsTheClosingSegment) {
  const TrackCurve curve = Generated(40, 5);
  ASSERT_EQ(curve.points.size(), 81u);
  EXPECT_NEAR(curve.points[39].x, 3.0, 0.1);  // near the group's end, never reaching it
  EXPECT_LT(curve.points[39].x, 3.0);
  ExpectEqual(curve.points[40], Vector3d(4, 0, 0));  // then straight to point 4
}

}  // namespace
