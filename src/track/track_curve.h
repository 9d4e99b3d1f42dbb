// TrackCurve: a track's control points and the closed centre line sampled from them as cubic
// Bezier segments, plus the single-segment evaluator BezierPoint.
#pragma once

#include <cstdint>
#include <vector>

#include "track/vector3d.h"

// The point of the cubic segment p[0] .. p[3] at t: t = 1 gives p[0], t = 0 gives p[3].
// u = 1 - t is kept in single precision; the weights are doubles from std::pow.
Vector3d BezierPoint(float t, const Vector3d* p);

// The length of a line through `points` in order, in three dimensions.
double LineLength(const std::vector<Vector3d>& points);
// The point of the segment from a to b nearest p, in three dimensions (a when they coincide).
Vector3d NearestOnSegment(const Vector3d& a, const Vector3d& b, const Vector3d& p);

struct TrackCurve {
  // Samples taken from each segment.
  int32_t steps = 23;
  // Read in groups of four: start, two handles, end. Each group's end should be repeated as the
  // next group's start for a continuous line.
  std::vector<Vector3d> controlPoints;
  // The closed centre line; its last point repeats its first.
  std::vector<Vector3d> points;

  TrackCurve() = default;
  explicit TrackCurve(int32_t steps) : steps(steps) {}

  // Appends (groups + 1) * steps + 1 points to `points`: `steps` samples of every full group of
  // four control points, `steps` samples of a closing segment from the last control point back
  // to the first (with mirrored handles), then the first control point again. Appends nothing
  // when there are fewer than 2 control points. At most 32767 groups are sampled.
  void generate();
};
