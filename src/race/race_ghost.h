// The ghost of a race: the path of the player's car recorded step by step, the kept ghost of
// the track and car replayed beside it, and the lap splits against that ghost.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "records/ghost_format.h"

struct CarState;

class RaceGhost {
 public:
  // How long a lap's split shows: three seconds of steps.
  static constexpr int32_t SplitSteps = 3 * FramesPerSecond;

  // At a race start: the ghost chosen for this track and car (the player's own or an imported
  // one; ready before the start, never waited for), the recording emptied (its
  // room for a ten-minute race reserved once, so the race itself never allocates), the splits
  // cleared, and whether the ghost shows from the settings. Without `againstKept` no ghost is
  // raced (nor split timed), but the path is still recorded and kept when faster.
  void begin(const std::string& track, const std::string& car, bool againstKept = true);
  // After each simulation step: records the car's pose and, when `laps` grew, the lap's split.
  void afterStep(const CarState& player);
  // At the finish: the recorded path becomes the player's kept ghost when it is faster than
  // that one (whichever ghost was raced).
  void finish();
  // `G`: shows or hides the ghost, kept in the settings.
  void toggleShown();

  // Where the ghost car is now (at its first pose before "GO", at its last after its finish);
  // none when there is no ghost or it is hidden.
  const GhostPose* pose() const;
  // The split of the lap just completed, in steps (negative: ahead), while it shows.
  std::optional<int32_t> split() const;
  // At the finish: the race's steps minus the ghost's.
  std::optional<int32_t> raceDifference() const;

  const GhostPath& recorded() const { return recorded_; }
  const std::optional<GhostPath>& kept() const { return kept_; }
  int32_t steps() const { return steps_; }

 private:
  std::string track_, car_;  // empty until begin()
  std::optional<GhostPath> kept_;
  GhostPath recorded_;
  int32_t steps_ = 0;     // simulation steps of this race so far
  int32_t lapsDone_ = 0;  // laps the player had completed after the last step
  bool tooLong_ = false;  // more than a ghost keeps: nothing recorded any more
  bool shown_ = true;
  std::optional<int32_t> split_;
  int32_t splitStep_ = 0;  // the step on which the split was taken
  std::optional<int32_t> raceDifference_;
};
