// The race's sounds: each compares the race with the frame before and plays what it calls for.
#include "race/race_sounds.h"

#include <algorithm>
#include <cmath>

#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "race/race.h"

RaceSounds CurrentRaceSounds;
RaceSounds SecondRaceSounds(true);

RaceSounds& SoundsOf(int racer) {
  return racer == 2 ? SecondRaceSounds : CurrentRaceSounds;
}

namespace {

constexpr float Pi = 3.14159265f;
// The engine's revs: 1 at idle, this at top speed. The high recording is made at twice the
// revs of the low one; between them the two cross-fade.
constexpr float TopRevs = 2.4f, HighRecordingRevs = 2.0f;
// Top speed, per frame, in units of the car's acceleration: a push held every frame sums to
// four times the acceleration and the velocity keeps 0.992 of itself each frame.
constexpr double TopSpeedPerAcceleration = 4.0 * 0.992 / 0.008;
constexpr float IdleGain = 0.55f, DrivingGain = 0.85f, SpeedGain = 0.15f, ThrottleStep = 0.08f;
// Hits sound at most this often: one a half second at 60 frames a second.
constexpr int DamageGapFrames = 30;
// The rumble goes on this many frames after the last hit of the border.
constexpr int RumbleHoldFrames = 12;
// The flourish of a new best time comes after the finish fanfare.
constexpr int NewBestDelayFrames = 90;

}  // namespace

EngineVoice VoiceOf(float acceleration, float health) {
  const float quick = std::clamp(acceleration / 0.0002f, 0.25f, 4.0f);
  const float big = std::clamp(health / 8.0f, 0.25f, 4.0f);
  return {std::pow(quick, 0.35f) * std::pow(big, -0.15f),
          std::clamp((quick - 1) * 0.5f, -0.2f, 0.3f)};
}

void RaceSounds::reset() {
  fresh_ = true;
  newBestIn_ = -1;
}

void RaceSounds::frame(const Race& race, bool upHeld) {
  if (race.player == nullptr) return;
  const CarState& car = *race.player;
  const float health = car.car != nullptr ? race.health() : 0.0f;
  if (fresh_) {
    fresh_ = false;
    label_.clear();
    state_ = Race::Ready;
    laps_ = car.laps;
    nitro_ = car.nitro;
    health_ = health;
    framesSinceDamage_ = 1000;
    throttle_ = 0;
    offRoadFor_ = 0;
  }
  ++framesSinceDamage_;

  if (race.state == Race::Ready && race.label != label_ && !eventsOnly_) {
    PlaySound(race.label == "GO" ? Sound::Go : race.label == "READY" ? Sound::Ready : Sound::Beep);
  }
  double speed = 0, top = 1;
  if (car.car != nullptr && car.car->acceleration > 0) {
    speed = std::hypot(car.velocity.x, car.velocity.z);
    top = TopSpeedPerAcceleration * car.car->acceleration;
  }
  const float pace = float(std::min(1.0, speed / top));
  if (race.state != state_) {
    if (race.state == Race::Crashed) PlaySound(Sound::Crash);
    if (race.state == Race::Finished) {
      PlaySound(Sound::Finish);
      if (race.newBestTime) newBestIn_ = NewBestDelayFrames;
    }
  } else if (race.state == Race::Running) {
    if (car.laps > laps_) PlaySound(Sound::Lap);
    if (health < health_) {
      offRoadFor_ = RumbleHoldFrames;
      if (framesSinceDamage_ >= DamageGapFrames) {
        PlaySound(Sound::Damage);
        framesSinceDamage_ = 0;
      }
    }
    if (car.nitro < nitro_) PlaySound(Sound::Nitro);
  }
  if (newBestIn_ >= 0 && newBestIn_-- == 0) PlaySound(Sound::NewBest);

  // Off the road: a rumble as long as the car keeps hitting the border, louder and deeper
  // with speed; it fades once the car is back on the road.
  if (race.state == Race::Running && offRoadFor_ > 0 && !eventsOnly_) {
    --offRoadFor_;
    DriveLoop(Loop::Rumble, std::min(1.0f, 0.5f + 2.0f * pace), 0.8f + 0.6f * pace);
  }

  // The engine idles through the countdown and dies away once the race is over. The low and
  // high recordings cross-fade with the revs, and Up brings in more of the high one.
  if ((race.state == Race::Ready || race.state == Race::Running) && !eventsOnly_) {
    const bool running = race.state == Race::Running;
    const EngineVoice voice =
        car.car != nullptr ? VoiceOf(car.car->acceleration, health) : EngineVoice{};
    const float revs = running ? 1.0f + (TopRevs - 1.0f) * pace : 1.0f;
    throttle_ +=
        std::clamp((running && upHeld ? 1.0f : 0.0f) - throttle_, -ThrottleStep, ThrottleStep);
    const float mix =
        std::clamp((revs - 1.2f) + 0.35f * throttle_ + voice.brightness * pace, 0.0f, 1.0f);
    const float gain =
        std::min(1.0f, IdleGain + (DrivingGain - IdleGain) * throttle_ + SpeedGain * pace);
    const float pitch = voice.pitch * revs;
    DriveLoop(Loop::EngineLow, gain * std::cos(mix * Pi / 2), pitch);
    DriveLoop(Loop::EngineHigh, gain * std::sin(mix * Pi / 2), pitch / HighRecordingRevs);
  }

  label_ = race.label;
  state_ = race.state;
  laps_ = car.laps;
  nitro_ = car.nitro;
  health_ = health;
}
