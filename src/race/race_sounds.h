// The race's sounds, chosen once a frame from what changed in the race since the frame before:
// the countdown's texts, hits and the rumble off the road, nitro, laps, the crash and the
// finish, and the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/game_sounds.h"

class Race;
struct Car;

// Where a player's sounds sit: their seat's loops, and in a race of two player one's a little to
// the left and 1 dB down, player two's a little to the right and 2 dB under player one's, so the
// two engines are told apart. A player alone sounds in the middle at full gain.
struct SoundPlace {
  int seat = 0;
  float gain = 1, pan = 0;
};
SoundPlace PlaceOf(int seat, bool raceOfTwo);

// What a race's sounds took from more than its car's poses, for its replay: a hit (its gain and
// pitch as played), a scrape of the border (each keeps the rumble going) or nitro, on the
// simulation step (counted from 0) it came in.
struct SoundMark {
  int32_t step = 0;
  Sound sound = Sound::Damage;
  float gain = 1, pitch = 1;
};

// A car's engine at a simulation step: its speed (per step) and throttle (0 to 1, eased).
struct EngineStep {
  float speed = 0, throttle = 0;
};

class RaceSounds {
 public:
  // A new race: its first frame sounds "READY". Seat 1 is player two's race beside player one's,
  // which leaves the countdown to seat 0.
  void reset(int seat = 0);
  // After the frame step of `race`; `upHeld` is whether Up is held.
  void frame(const Race& race, bool upHeld);
  // This race's marks so far, and its engine at each step simulated.
  const std::vector<SoundMark>& marks() const { return marks_; }
  const std::vector<EngineStep>& engine() const { return engine_; }

 private:
  int seat_ = 0;
  bool fresh_ = true;
  std::string label_;
  int16_t state_ = 0;
  int16_t laps_ = 0;
  int32_t nitro_ = 0;
  float health_ = 0;
  int framesSinceDamage_ = 1000;
  int newBestIn_ = -1;    // frames until the new-best flourish; -1 none to come
  int newMedalIn_ = -1;   // frames until a new medal's chime; -1 none to come
  float throttle_ = 0;    // Up held, eased in and out, 0 to 1
  int offRoadFor_ = 0;    // frames the rumble goes on without another hit
  uint32_t hitDraw_ = 0;  // the last draw of the hits' pitch and gain
  float hitShift_ = 0;    // the last hit's pitch, -1 to 1 of its range
  std::vector<SoundMark> marks_;
  std::vector<EngineStep> engine_;
};

// How a car's engine sounds: its own two recordings (idle and high) and how soon the high one
// comes in.
struct EngineVoice {
  Sound low = Sound::Engine, high = Sound::EngineHigh;
  float brightness = 0;
};
// The voice of a car from its place in the roster and its roster values, never from what it
// has left of them in a race: a quick car brightens soonest, a slow one latest. A car outside
// the roster's three sounds as the first.
EngineVoice VoiceOf(const Car* car);

// The frames the rumble goes on after the last scrape of the border.
constexpr int RumbleHoldFrames = 12;
// Throttle eases in and out by this much a frame.
constexpr float ThrottleStep = 0.08f;
// A car's engine loops this frame at `at`: idling at its voice's own pitch, or, while
// `running`, following its speed (per simulation step) and throttle (0 to 1, eased). Every pitch
// is times `rate` (a replay played faster or slower).
void DriveEngine(const SoundPlace& at, const Car* car, double speed, float throttle, bool running,
                 float rate = 1);
// The rumble off the road at that speed: louder and deeper the faster.
void DriveRumble(const SoundPlace& at, const Car* car, double speed, float rate = 1);
