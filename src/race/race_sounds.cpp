// The race's sounds: each compares the race with the frame before and plays what it calls for.
#include "race/race_sounds.h"

#include <algorithm>
#include <cmath>

#include "game/game_setup.h"
#include "race/race.h"

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
// Each hit's pitch within this fraction of the recording's and its gain within this many dB.
constexpr float HitPitchRange = 0.1f, HitGainRangeDb = 2.0f;

// Each roster car's two engine recordings.
constexpr Sound EngineSounds[3][2] = {{Sound::Engine, Sound::EngineHigh},
                                      {Sound::EnginePizzaCar, Sound::EnginePizzaCarHigh},
                                      {Sound::EngineFlyingTaco, Sound::EngineFlyingTacoHigh}};

// A draw in [0, 1) from the next step of a small generator.
float Draw(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return float(state >> 8) / float(1 << 24);
}

}  // namespace

EngineVoice VoiceOf(const Car* car) {
  EngineVoice voice;
  if (car == nullptr) return voice;
  for (int slot = 0; slot < 3; ++slot) {
    if (car != &CarRoster[slot]) continue;
    voice.low = EngineSounds[slot][0];
    voice.high = EngineSounds[slot][1];
  }
  const float quick = std::clamp(car->acceleration / 0.0002f, 0.25f, 4.0f);
  voice.brightness = std::clamp((quick - 1) * 0.5f, -0.2f, 0.3f);
  return voice;
}

void RaceSounds::reset(bool eventsOnly) {
  eventsOnly_ = eventsOnly;
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
        // Never the same hit twice in a row: the pitch moves at least a fifth of its range
        // from the last one's, the way round its range.
        hitShift_ += 0.4f + 1.2f * Draw(hitDraw_);
        if (hitShift_ > 1) hitShift_ -= 2;
        const float db = HitGainRangeDb * (2 * Draw(hitDraw_) - 1);
        PlaySound(Sound::Damage, std::pow(10.0f, db / 20), 1 + HitPitchRange * hitShift_);
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
    const EngineVoice voice = VoiceOf(car.car);
    const float revs = running ? 1.0f + (TopRevs - 1.0f) * pace : 1.0f;
    throttle_ +=
        std::clamp((running && upHeld ? 1.0f : 0.0f) - throttle_, -ThrottleStep, ThrottleStep);
    const float mix =
        std::clamp((revs - 1.2f) + 0.35f * throttle_ + voice.brightness * pace, 0.0f, 1.0f);
    const float gain =
        std::min(1.0f, IdleGain + (DrivingGain - IdleGain) * throttle_ + SpeedGain * pace);
    DriveLoop(Loop::EngineLow, gain * std::cos(mix * Pi / 2), revs, voice.low);
    DriveLoop(Loop::EngineHigh, gain * std::sin(mix * Pi / 2), revs / HighRecordingRevs,
              voice.high);
  }

  label_ = race.label;
  state_ = race.state;
  laps_ = car.laps;
  nitro_ = car.nitro;
  health_ = health;
}
