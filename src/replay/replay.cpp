// The replay's timeline: the step on screen, pause, seeking and speeds, and what the race's
// messages showed at that step.
#include "replay/replay.h"

#include <algorithm>
#include <cmath>

#include "race/race.h"
#include "track/track.h"

Replay::Replay(const GhostPath& path, Track* track, Car* car) : track_(track) {
  laps_ = track != nullptr ? track->laps : static_cast<int16_t>(path.lapSteps.size());
  Driven& driven = cars_.emplace_back();
  driven.path = path;
  driven.car = car;
  // A kept ghost ends on its finish; the race then showed its whole seconds of running.
  driven.finishSeconds = path.steps() > 0 ? (path.steps() - 1) / FramesPerSecond : 0;
}

Replay::Driven Replay::DrivenIn(const Race& race) {
  Driven driven;
  driven.path = race.ghost.recorded();
  driven.car = race.player ? race.player->car : nullptr;
  driven.shownSeconds = race.shownSeconds;
  driven.shownSeconds.resize(driven.path.poses.size());
  driven.marks = race.sounds.marks();
  driven.engine = race.sounds.engine();
  driven.finishSeconds = static_cast<int64_t>(race.finishTime - race.runStart);
  // A race longer than the recorder keeps is replayed as far as it was kept, still running.
  const bool whole = race.ghost.steps() == driven.path.steps();
  driven.endState = whole ? race.state : Race::Running;
  return driven;
}

Replay Replay::OfRace(const Race& race) {
  Replay replay;
  replay.track_ = race.track;
  replay.cars_.push_back(DrivenIn(race));
  replay.laps_ = race.track != nullptr ? race.track->laps
                                       : static_cast<int16_t>(replay.cars_[0].path.lapSteps.size());
  return replay;
}

void Replay::addRace(const Race& race) {
  if (!cars_.empty()) cars_.push_back(DrivenIn(race));
}

int32_t Replay::steps() const {
  int32_t longest = 0;
  for (const Driven& driven : cars_) longest = std::max(longest, driven.path.steps());
  return longest;
}

int32_t Replay::stepOf(int car) const {
  return std::min(step(), cars_[car].path.steps() - 1);
}

const GhostPose& Replay::pose(int car) const {
  return cars_[car].path.poses[static_cast<size_t>(stepOf(car))];
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

int16_t Replay::lapsDone(int car) const {
  const int32_t number = stepOf(car) + 1;  // lap steps count from 1
  const std::vector<int32_t>& lapSteps = cars_[car].path.lapSteps;
  const auto done = std::upper_bound(lapSteps.begin(), lapSteps.end(), number) - lapSteps.begin();
  return static_cast<int16_t>(done);
}

ReplayHud Replay::hud(int car) const {
  const Driven& driven = cars_[car];
  ReplayHud hud;
  const int32_t k = stepOf(car);
  hud.lapsLeft = laps_ - lapsDone(car);
  hud.seconds = driven.shownSeconds.empty() ? k / FramesPerSecond
                                            : driven.shownSeconds[static_cast<size_t>(k)];
  if (k == driven.path.steps() - 1 && driven.endState != Race::Running) {
    hud.state = driven.endState;
    if (driven.endState == Race::Finished) hud.seconds = driven.finishSeconds;
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
