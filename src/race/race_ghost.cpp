// Recording the player's path, replaying the kept ghost and timing the laps against it.
#include "race/race_ghost.h"

#include "race/car_state.h"
#include "race/ghost_choice.h"
#include "records/ghost_store.h"
#include "records/settings.h"

void RaceGhost::begin(const std::string& track, const std::string& car, bool againstKept) {
  track_ = track;
  car_ = car;
  kept_.reset();
  if (againstKept) kept_ = ChosenGhost.forRace(track, car);
  recorded_.poses.clear();
  recorded_.lapSteps.clear();
  recorded_.poses.reserve(GhostMaxSteps);
  recorded_.lapSteps.reserve(GhostMaxLaps);
  steps_ = 0;
  lapsDone_ = 0;
  tooLong_ = false;
  shown_ = GameSettings.ghost();
  split_.reset();
  raceDifference_.reset();
}

void RaceGhost::afterStep(const CarState& player) {
  ++steps_;
  if (steps_ > GhostMaxSteps) tooLong_ = true;
  const Vector3f& p = player.position;
  const Vector3f& r = player.rotation;
  if (!tooLong_) recorded_.poses.push_back({p.x, p.y, p.z, r.x, r.y, r.z});
  if (player.laps <= lapsDone_) return;
  lapsDone_ = player.laps;
  if (recorded_.lapSteps.size() >= GhostMaxLaps) tooLong_ = true;
  if (!tooLong_) recorded_.lapSteps.push_back(steps_);
  const auto lap = static_cast<size_t>(lapsDone_);
  if (kept_ && lap <= kept_->lapSteps.size()) {
    split_ = steps_ - kept_->lapSteps[lap - 1];
    splitStep_ = steps_;
  }
}

void RaceGhost::finish() {
  if (kept_) raceDifference_ = steps_ - kept_->steps();
  if (track_.empty() || tooLong_) return;
  GameGhosts.keep(track_, car_, recorded_);
  ChosenGhost.forget();  // the player's own ghost may be this race now
}

void RaceGhost::toggleShown() {
  shown_ = !shown_;
  GameSettings.setGhost(shown_);
}

const GhostPose* RaceGhost::pose() const {
  if (!kept_ || !shown_ || kept_->poses.empty()) return nullptr;
  const int32_t last = kept_->steps() - 1;
  return &kept_->poses[steps_ < 1 ? 0 : steps_ - 1 > last ? last : steps_ - 1];
}

std::optional<int32_t> RaceGhost::split() const {
  if (split_ && steps_ - splitStep_ < SplitSteps) return split_;
  return {};
}

std::optional<int32_t> RaceGhost::raceDifference() const {
  return raceDifference_;
}
