// Whether a sampled centre line bends tighter than its road is wide. GL-free.
#pragma once

#include <vector>

#include "track/vector3d.h"

// The first sample of the closed line `points` (its last point repeats the first) where it
// bends, seen from above, with a radius under `halfWidth`: there the road's inner edge would fold
// over itself. -1 when there is none.
long FindTightBend(const std::vector<Vector3d>& points, double halfWidth);
