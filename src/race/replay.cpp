// The replay's timeline: the step on screen, pause, seeking and speeds, and what the race's
// messages showed at that step.
#include "race/replay.h"

#include <algorithm>
#include <cmath>

#include "race/race.h"
#include "track/track.h"

Replay::Replay(const GhostPath& path, Track* track, Car* car)
    : path_(path), track_(track), car_(car) {
  laps_ = track != nullptr ? track->laps : static_cast<int16_t>(path.lapSteps.size());
  // A kept ghost ends on its finish; the race then showed its whole seconds of running.
  finishSeconds_ = path.steps() > 0 ? (path.steps() - 1) / FramesPerSecond : 0;
}

Replay Replay::OfRace(const Race& race) {
  Replay replay(race.ghost.recorded(), race.track, race.player ? race.player->car : nullptr);
  replay.shownSeconds_ = race.shownSeconds;
  replay.shownSeconds_.resize(replay.path_.poses.size());
  replay.finishSeconds_ = static_cast<int64_t>(race.finishTime - race.runStart);
  // A race longer than the recorder keeps is replayed as far as it was kept, still running.
  const bool whole = race.ghost.steps() == replay.steps();
  replay.endState_ = whole ? race.state : Race::Running;
  return replay;
}

void Replay::advance() {
  if (paused_ || empty()) return;
  position_ = std::min(position_ + speed(), static_cast<double>(steps() - 1));
}

void Replay::seek(int32_t by) {
  if (empty()) return;
  position_ = std::clamp(std::floor(position_) + by, 0.0, static_cast<double>(steps() - 1));
}

void Replay::faster() {
  speed_ = std::min(speed_ + 1, SpeedCount - 1);
}

void Replay::slower() {
  speed_ = std::max(speed_ - 1, 0);
}

void Replay::cycleCamera() {
  camera_ = camera_ == Camera::Driver  ? Camera::Chase
            : camera_ == Camera::Chase ? Camera::Trackside
                                       : Camera::Driver;
}

int32_t Replay::step() const {
  return static_cast<int32_t>(position_);
}

int16_t Replay::lapsDone() const {
  const int32_t number = step() + 1;  // lap steps count from 1
  const auto done = std::upper_bound(path_.lapSteps.begin(), path_.lapSteps.end(), number) -
                    path_.lapSteps.begin();
  return static_cast<int16_t>(done);
}

ReplayHud Replay::hud() const {
  ReplayHud hud;
  const int32_t k = step();
  hud.lapsLeft = laps_ - lapsDone();
  hud.seconds =
      shownSeconds_.empty() ? k / FramesPerSecond : shownSeconds_[static_cast<size_t>(k)];
  if (k == steps() - 1 && endState_ != Race::Running) {
    hud.state = endState_;
    if (endState_ == Race::Finished) hud.seconds = finishSeconds_;
  }
  return hud;
}

std::string Replay::statusText() const {
  static constexpr const char* SpeedNames[SpeedCount] = {"1/4x", "1/2x", "1x", "2x", "4x"};
  const char* view = camera_ == Camera::Driver  ? "driver's view"
                     : camera_ == Camera::Chase ? "chase view"
                                                : "trackside";
  return std::string("Replay  ") + view + "  " + (paused_ ? "paused" : SpeedNames[speed_]);
}
