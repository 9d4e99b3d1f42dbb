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

TEST(TrackCurveTest, FifthPointOnlyStartsTheClosingSegment) {
  const TrackCurve curve = Generated(40, 5);
  ASSERT_EQ(curve.points.size(), 81u);
  EXPECT_NEAR(curve.points[39].x, 3.0, 0.1);  // near the group's end, never reaching it
  EXPECT_LT(curve.points[39].x, 3.0);
  const Vector3d& end = curve.points[40];  // then straight to point 4
  EXPECT_EQ((std::array{end.x, end.y, end.z}), (std::array{4.0, 0.0, 0.0}));
}

}  // namespace
