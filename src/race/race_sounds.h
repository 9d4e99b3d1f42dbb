// The race's sounds, chosen once a frame from what changed in the race since the frame before:
// the countdown's texts, hits and the rumble off the road, nitro, laps, the crash and the
// finish, and the engine.
#pragma once

#include <cstdint>
#include <string>

#include "game/game_sounds.h"

class Race;
struct Car;

class RaceSounds {
 public:
  // A new race: its first frame sounds "READY". `eventsOnly`: a second car's sounds beside the
  // first's, which keeps the countdown and the engine and rumble loops to itself (one voice
  // each): only hits, nitro, laps, the crash, the finish and a new best.
  void reset(bool eventsOnly = false);
  // After the frame step of `race`; `upHeld` is whether Up is held.
  void frame(const Race& race, bool upHeld);

 private:
  bool eventsOnly_ = false;
  bool fresh_ = true;
  std::string label_;
  int16_t state_ = 0;
  int16_t laps_ = 0;
  int32_t nitro_ = 0;
  float health_ = 0;
  int framesSinceDamage_ = 1000;
  int newBestIn_ = -1;    // frames until the new-best flourish; -1 none to come
  float throttle_ = 0;    // Up held, eased in and out, 0 to 1
  int offRoadFor_ = 0;    // frames the rumble goes on without another hit
  uint32_t hitDraw_ = 0;  // the last draw of the hits' pitch and gain
  float hitShift_ = 0;    // the last hit's pitch, -1 to 1 of its range
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
