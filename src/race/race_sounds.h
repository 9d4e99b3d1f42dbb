// The race's sounds, chosen once a frame from what changed in the race since the frame before:
// the countdown's texts, hits and the rumble off the road, nitro, laps, the crash and the
// finish, and the engine.
#pragma once

#include <cstdint>
#include <string>

class Race;

class RaceSounds {
 public:
  // `eventsOnly`: a second car's sounds beside the first's, which keeps the countdown and the
  // engine and rumble loops to itself (one voice each): only hits, nitro, laps, the crash, the
  // finish and a new best.
  explicit RaceSounds(bool eventsOnly = false) : eventsOnly_(eventsOnly) {}
  // A new race: its first frame sounds "READY".
  void reset();
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
  int newBestIn_ = -1;  // frames until the new-best flourish; -1 none to come
  float throttle_ = 0;  // Up held, eased in and out, 0 to 1
  int offRoadFor_ = 0;  // frames the rumble goes on without another hit
};

// How a car's engine sounds: its pitch against the others' and how soon its engine brightens.
struct EngineVoice {
  float pitch = 1;
  float brightness = 0;
};
// A quick car revs higher and brighter, a big (tough) one lower.
EngineVoice VoiceOf(float acceleration, float health);

extern RaceSounds CurrentRaceSounds;
// Player two's, in a race of two: events only.
extern RaceSounds SecondRaceSounds;
// The sounds of racer 1 or 2.
RaceSounds& SoundsOf(int racer);
