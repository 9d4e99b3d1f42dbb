// A ghost's path for the tests that only need one of a given length.
#pragma once

#include "records/ghost_format.h"

namespace testing_support {

// `steps` poses along x, its laps ending evenly.
inline GhostPath StraightGhost(int32_t steps, int laps = 2) {
  GhostPath path;
  for (int32_t i = 0; i < steps; ++i) path.poses.push_back({0.01f * static_cast<float>(i)});
  for (int lap = 1; lap <= laps; ++lap) path.lapSteps.push_back(steps * lap / laps);
  return path;
}

}  // namespace testing_support
