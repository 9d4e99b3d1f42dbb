// The sound output as the game sees it: sounds made from decoded samples, played once or on a
// few looping voices each with its own pitch, gain and place left or right, a master volume and
// mute, and a pause. Two
// implementations: OpenAL Soft for the game, and a recording one for tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Decoded samples: 16-bit signed, channels interleaved.
struct SoundSamples {
  int rate = 0;      // frames a second
  int channels = 0;  // 1 or 2
  std::vector<int16_t> samples;
};

// A sound made by addSound; NoSound plays nothing.
using SoundId = int;
constexpr SoundId NoSound = -1;
// Looping voices, numbered from 0: three for each of two players.
constexpr int LoopVoices = 6;

class SoundSystem {
 public:
  virtual ~SoundSystem() = default;

  // Opens the output; false when there is none (the game then plays silently). `why` says why.
  virtual bool open(std::string& why) = 0;
  // Makes a sound from samples; NoSound when the output cannot take them.
  virtual SoundId addSound(const SoundSamples& samples) = 0;
  // Plays a sound once from its start, over whatever else plays. `pan` places it from the left
  // (-1) through the middle (0) to the right (1).
  virtual void play(SoundId sound, float gain, float pitch, float pan) = 0;
  // Looping voice `voice`: starts `sound` looping on it if it is not already, and sets its gain,
  // pitch (1 is the recorded pitch) and pan. stopLoop ends it.
  virtual void loop(int voice, SoundId sound, float gain, float pitch, float pan) = 0;
  virtual void stopLoop(int voice) = 0;
  // Silences everything (true) or lets it be heard again; what plays goes on unheard.
  virtual void setMuted(bool muted) = 0;
  // The gain over everything, 0 to 1, heard whenever not muted.
  virtual void setVolume(float volume) = 0;
  // Holds every voice where it is (true) and lets them go on (false).
  virtual void setPaused(bool paused) = 0;
};

// The OpenAL Soft output of the game.
std::unique_ptr<SoundSystem> MakeOpenAlSoundSystem();

}  // namespace platform
