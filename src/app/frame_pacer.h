// Holds the main loop to a steady frame rate: every animation and physics step of the game is
// applied once per frame, so the frame rate is the game's speed.
#pragma once

#include <functional>

#include "platform/frame_rate.h"

class FramePacer {
 public:
  using Clock = std::function<double()>;
  using Sleep = std::function<void(double)>;

  // period: seconds per frame. clock and sleep default to the platform's monotonic ones.
  explicit FramePacer(double period = 1.0 / FramesPerSecond, Clock clock = {}, Sleep sleep = {});

  // Called once after each presented frame: sleeps until the next frame is due. A loop that
  // fell behind by more than a frame starts afresh instead of racing to catch up.
  void frameDone();
  // Forgets the schedule (after a long stall such as a window re-creation).
  void reset() { next_ = -1; }

 private:
  double period_;
  Clock clock_;
  Sleep sleep_;
  double next_ = -1;
};
