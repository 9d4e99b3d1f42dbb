// The race's sounds: each compares the race with the frame before and plays what it calls for.
#include "race/race_sounds.h"

#include <algorithm>
#include <cmath>

#include "game/game_setup.h"
#include "race/race.h"
#include "race/race_of_two.h"

namespace {

constexpr float Pi = 3.14159265f;
// The engine's revs: 1 at idle, this at top speed. The high recording is made at twice the
// revs of the low one; between them the two cross-fade.
constexpr float TopRevs = 2.4f, HighRecordingRevs = 2.0f;
// Top speed, per frame, in units of the car's acceleration: a push held every frame sums to
// four times the acceleration and the velocity keeps 0.992 of itself each frame.
constexpr double TopSpeedPerAcceleration = 4.0 * 0.992 / 0.008;
constexpr float IdleGain = 0.55f, DrivingGain = 0.85f, SpeedGain = 0.15f;
// Hits sound at most this often: one a half second at 60 frames a second.
constexpr int DamageGapFrames = 30;
// The flourish of a new best time comes after the finish fanfare.
constexpr int NewBestDelayFrames = 90;
// A new medal's chime comes once that flourish (under a second) has rung.
constexpr int NewMedalDelayFrames = NewBestDelayFrames + 60;
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

// The car's speed against its top speed, 0 to 1.
float PaceOf(const Car* car, double speed) {
  if (car == nullptr || car->acceleration <= 0) return 0;
  return float(std::min(1.0, speed / (TopSpeedPerAcceleration * car->acceleration)));
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

SoundPlace PlaceOf(int seat, bool raceOfTwo) {
  if (!raceOfTwo) return {seat, 1, 0};
  // Two cars' engines and crashes sum louder than one's: both a little under a car alone.
  return seat == 0 ? SoundPlace{0, 0.9f, -0.3f} : SoundPlace{seat, 0.72f, 0.3f};
}

void DriveEngine(const SoundPlace& at, const Car* car, double speed, float throttle, bool running,
                 float rate) {
  const EngineVoice voice = VoiceOf(car);
  const float pace = running ? PaceOf(car, speed) : 0;
  const float revs = 1.0f + (TopRevs - 1.0f) * pace;
  const float mix =
      std::clamp((revs - 1.2f) + 0.35f * throttle + voice.brightness * pace, 0.0f, 1.0f);
  const float gain =
      at.gain * std::min(1.0f, IdleGain + (DrivingGain - IdleGain) * throttle + SpeedGain * pace);
  DriveLoop(Loop::EngineLow, gain * std::cos(mix * Pi / 2), rate * revs, voice.low, at.seat,
            at.pan);
  DriveLoop(Loop::EngineHigh, gain * std::sin(mix * Pi / 2), rate * revs / HighRecordingRevs,
            voice.high, at.seat, at.pan);
}

void DriveRumble(const SoundPlace& at, const Car* car, double speed, float rate) {
  const float pace = PaceOf(car, speed);
  DriveLoop(Loop::Rumble, at.gain * std::min(1.0f, 0.5f + 2.0f * pace), rate * (0.8f + 0.6f * pace),
            Sound::Rumble, at.seat, at.pan);
}

void RaceSounds::reset(int seat) {
  seat_ = seat;
  fresh_ = true;
  newBestIn_ = -1;
  newMedalIn_ = -1;
  marks_.clear();
  engine_.clear();
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
  const SoundPlace at = PlaceOf(seat_, RaceOfTwo());
  const auto play = [&](Sound sound, float gain = 1, float pitch = 1) {
    PlaySound(sound, at.gain * gain, pitch, at.pan);
  };
  // The step just simulated, as the replay counts them.
  const auto mark = [&](Sound sound, float gain = 1, float pitch = 1) {
    if (!race.shownSeconds.empty())
      marks_.push_back({int32_t(race.shownSeconds.size() - 1), sound, gain, pitch});
  };

  if (race.state == Race::Ready && race.label != label_ && seat_ == 0) {
    PlaySound(race.label == "GO" ? Sound::Go : race.label == "READY" ? Sound::Ready : Sound::Beep);
  }
  const double speed = std::hypot(car.velocity.x, car.velocity.z);
  if (race.state != state_) {
    if (race.state == Race::Crashed) play(Sound::Crash);
    if (race.state == Race::Finished) {
      play(Sound::Finish);
      if (race.newBestTime) newBestIn_ = NewBestDelayFrames;
      if (race.newMedal != Medal::None) newMedalIn_ = NewMedalDelayFrames;
    }
  } else if (race.state == Race::Running) {
    if (car.laps > laps_) play(Sound::Lap);
    if (health < health_) {
      offRoadFor_ = RumbleHoldFrames;
      mark(Sound::Rumble);
      if (framesSinceDamage_ >= DamageGapFrames) {
        // Never the same hit twice in a row: the pitch moves at least a fifth of its range
        // from the last one's, the way round its range.
        hitShift_ += 0.4f + 1.2f * Draw(hitDraw_);
        if (hitShift_ > 1) hitShift_ -= 2;
        const float db = HitGainRangeDb * (2 * Draw(hitDraw_) - 1);
        const float gain = std::pow(10.0f, db / 20), pitch = 1 + HitPitchRange * hitShift_;
        play(Sound::Damage, gain, pitch);
        mark(Sound::Damage, gain, pitch);
        framesSinceDamage_ = 0;
      }
    }
    if (car.nitro < nitro_) {
      play(Sound::Nitro);
      mark(Sound::Nitro);
    }
  }
  if (newBestIn_ >= 0 && newBestIn_-- == 0) play(Sound::NewBest);
  // A new medal: the flourish once more, a fifth higher, after the first has rung.
  if (newMedalIn_ >= 0 && newMedalIn_-- == 0) play(Sound::NewBest, 1.0f, 1.5f);

  // Off the road: a rumble as long as the car keeps hitting the border; it fades once the car
  // is back on the road.
  if (race.state == Race::Running && offRoadFor_ > 0) {
    --offRoadFor_;
    DriveRumble(at, car.car, speed);
  }

  // The engine idles through the countdown and dies away once the race is over. Up brings in
  // more of the high recording.
  if (race.state == Race::Ready || race.state == Race::Running) {
    const bool running = race.state == Race::Running;
    throttle_ +=
        std::clamp((running && upHeld ? 1.0f : 0.0f) - throttle_, -ThrottleStep, ThrottleStep);
    DriveEngine(at, car.car, speed, throttle_, running);
    if (running && race.shownSeconds.size() == engine_.size() + 1)
      engine_.push_back({float(speed), throttle_});
  }

  label_ = race.label;
  state_ = race.state;
  laps_ = car.laps;
  nitro_ = car.nitro;
  health_ = health;
}
