// The race's sounds: each compares the race with the frame before and plays what it calls for.
#include "race/race_sounds.h"

#include <algorithm>
#include <cmath>

#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "race/race.h"

RaceSounds CurrentRaceSounds;

namespace {

// The engine idles at its recorded pitch and reaches this many times it at top speed.
constexpr float TopPitch = 2.5f;
// Top speed, per frame, in units of the car's acceleration: a push held every frame sums to
// four times the acceleration and the velocity keeps 0.992 of itself each frame.
constexpr double TopSpeedPerAcceleration = 4.0 * 0.992 / 0.008;
constexpr float IdleGain = 0.4f, DrivingGain = 0.9f, GainStep = 0.05f;
// Hits sound at most this often: one a quarter second at 60 frames a second.
constexpr int DamageGapFrames = 15;
// The flourish of a new best time comes after the finish fanfare.
constexpr int NewBestDelayFrames = 90;

}  // namespace

void RaceSounds::reset() {
  fresh_ = true;
  newBestIn_ = -1;
}

void RaceSounds::frame(const Race& race, bool upHeld) {
  if (race.player == nullptr) return;
  const CarState& car = *race.player;
  const float health = car.car != nullptr ? car.car->health : 0.0f;
  if (fresh_) {
    fresh_ = false;
    label_.clear();
    state_ = Race::Ready;
    laps_ = car.laps;
    nitro_ = car.nitro;
    health_ = health;
    framesSinceDamage_ = 1000;
    engineGain_ = IdleGain;
  }
  ++framesSinceDamage_;

  if (race.state == Race::Ready && race.label != label_) {
    PlaySound(race.label == "GO" ? Sound::Go : Sound::Beep);
  }
  if (race.state != state_) {
    if (race.state == Race::Crashed) PlaySound(Sound::Crash);
    if (race.state == Race::Finished) {
      PlaySound(Sound::Finish);
      if (race.newBestTime) newBestIn_ = NewBestDelayFrames;
    }
  } else if (race.state == Race::Running) {
    if (car.laps > laps_) PlaySound(Sound::Lap);
    if (health < health_ && framesSinceDamage_ >= DamageGapFrames) {
      PlaySound(Sound::Damage, 0.8f);
      framesSinceDamage_ = 0;
    }
    if (car.nitro < nitro_) PlaySound(Sound::Nitro);
  }
  if (newBestIn_ >= 0 && newBestIn_-- == 0) PlaySound(Sound::NewBest);

  // The engine idles through the countdown and dies away once the race is over.
  if (race.state == Race::Ready || race.state == Race::Running) {
    float pitch = 1.0f;
    const bool running = race.state == Race::Running;
    if (running && car.car != nullptr && car.car->acceleration > 0) {
      const double speed = std::hypot(car.velocity.x, car.velocity.z);
      const double top = TopSpeedPerAcceleration * car.car->acceleration;
      pitch = float(1.0 + (TopPitch - 1.0) * std::min(1.0, speed / top));
    }
    const float wanted = running && upHeld ? DrivingGain : IdleGain;
    engineGain_ += std::clamp(wanted - engineGain_, -GainStep, GainStep);
    DriveEngine(pitch, engineGain_);
  }

  label_ = race.label;
  state_ = race.state;
  laps_ = car.laps;
  nitro_ = car.nitro;
  health_ = health;
}
