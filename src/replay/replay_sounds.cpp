// A replay's sounds, from its cars' poses and their races' marks, frame by frame.
#include "replay/replay_sounds.h"

#include <algorithm>
#include <cmath>

#include "game/game_setup.h"
#include "race/race.h"
#include "race/race_sounds.h"
#include "replay/replay.h"

namespace {

// The race keeps this much of a car's velocity from one step to the next.
constexpr double Coasting = 0.992;
// A push held sums to four times the car's acceleration; one of more than half that is taken
// for Up held (it is seen two steps after Up goes down, and three after it comes up).
constexpr double PushedAt = 1.5;
// The acceleration of a car that has none to read.
constexpr double PlainAcceleration = 0.0002;

// The distance across the ground from the pose before step k to step k's: the velocity the
// race moved the car by at step k. The first step's is taken as the second's (the start is not
// kept).
double Moved(const GhostPath& path, int32_t k) {
  if (k == 0) k = 1;
  if (k < 1 || k >= path.steps()) return 0;
  const GhostPose &a = path.poses[size_t(k - 1)], &b = path.poses[size_t(k)];
  return std::hypot(double(b.x) - a.x, double(b.z) - a.z);
}

}  // namespace

RecordedMotion MotionAt(const GhostPath& path, int32_t step, const Car* car) {
  const double acceleration =
      car != nullptr && car->acceleration > 0 ? car->acceleration : PlainAcceleration;
  const double now = Moved(path, step), before = Moved(path, step - 1);
  return {Coasting * now, now - Coasting * before > PushedAt * acceleration};
}

void ReplaySounds::reset() {
  last_ = -1;
  for (float& throttle : throttle_) throttle = 0;
}

void ReplaySounds::frame(const Replay& replay) {
  if (replay.empty()) return;
  const int32_t now = replay.step();
  // Only the steps just played through are sounded: a seek skips what it jumps over.
  const int32_t from = now > last_ && now - last_ <= 3 ? last_ + 1 : now + 1;
  last_ = now;
  if (replay.paused()) HoldSound();
  if (replay.speed() > LoudestReplaySpeed) return;
  const float rate = float(replay.speed());
  const int cars = std::min(replay.cars(), LoopSeats);
  for (int c = 0; c < cars; ++c) {
    const SoundPlace at = PlaceOf(c, cars > 1);
    const GhostPath& path = replay.path(c);
    const int32_t last = path.steps() - 1;
    const auto play = [&](Sound sound, float gain = 1, float pitch = 1) {
      PlaySound(sound, at.gain * gain, rate * pitch, at.pan);
    };
    const auto within = [&](int32_t step) { return step >= from && step <= now; };
    // Every lap but a finished race's last, which is its finish.
    for (size_t lap = 0; lap < path.lapSteps.size(); ++lap) {
      const int32_t step = path.lapSteps[lap] - 1;
      if (within(step) && !(step == last && replay.endState(c) == Race::Finished)) play(Sound::Lap);
    }
    if (within(last) && replay.endState(c) == Race::Finished) play(Sound::Finish);
    if (within(last) && replay.endState(c) == Race::Crashed) play(Sound::Crash);

    const std::vector<SoundMark>& marks = replay.marks(c);
    auto mark = std::lower_bound(marks.begin(), marks.end(), now - RumbleHoldFrames + 1,
                                 [](const SoundMark& m, int32_t step) { return m.step < step; });
    bool scraping = false;
    for (; mark != marks.end() && mark->step <= now; ++mark) {
      scraping = scraping || mark->sound == Sound::Rumble;
      if (mark->sound != Sound::Rumble && within(mark->step))
        play(mark->sound, mark->gain, mark->pitch);
    }
    // The race is over for a car from its last step on: its engine dies away there.
    if (now >= last) continue;
    // The engine as the race had it, or from the poses of a kept ghost.
    const RecordedMotion motion = MotionAt(path, now, replay.car(c));
    float& throttle = throttle_[c];
    throttle += std::clamp((motion.pushed ? 1.0f : 0.0f) - throttle, -ThrottleStep, ThrottleStep);
    EngineStep engine{float(motion.speed), throttle};
    if (size_t(now) < replay.engine(c).size()) engine = replay.engine(c)[size_t(now)];
    if (scraping) DriveRumble(at, replay.car(c), engine.speed, rate);
    DriveEngine(at, replay.car(c), engine.speed, engine.throttle, true, rate);
  }
}
