// A sound system for tests: plays nothing, records every call with the frame it came in.
#pragma once

#include <string>
#include <vector>

#include "platform/sound_system.h"

namespace platform {

class RecordingSoundSystem : public SoundSystem {
 public:
  enum class Call { Play, Loop, StopLoop, Mute, Unmute, Pause, Resume, Volume };
  struct Event {
    int frame = 0;
    Call call = Call::Play;
    SoundId sound = NoSound;
    float gain = 0;
    float pitch = 0;
    int voice = 0;  // the looping voice of Loop and StopLoop
    float pan = 0;
  };

  bool open(std::string& why) override;
  SoundId addSound(const SoundSamples& samples) override;
  void play(SoundId sound, float gain, float pitch, float pan) override;
  void loop(int voice, SoundId sound, float gain, float pitch, float pan) override;
  void stopLoop(int voice) override;
  void setMuted(bool muted) override;
  void setVolume(float volume) override;
  void setPaused(bool paused) override;

  // The events of one kind (and one sound, unless NoSound), in order.
  std::vector<Event> calls(Call call, SoundId sound = NoSound) const;
  // Whether something would be heard now: not muted, not paused.
  bool audible() const { return !muted_ && !paused_ && volume_ > 0; }
  float volume() const { return volume_; }

  int frame = 0;               // set by the test: the frame the next calls belong to
  bool deviceMissing = false;  // open() fails, as without an audio device
  std::vector<Event> events;
  std::vector<SoundSamples> sounds;  // what addSound was given, by id

 private:
  void record(Call call, SoundId sound = NoSound, float gain = 0, float pitch = 0, int voice = 0,
              float pan = 0);
  bool muted_ = false;
  bool paused_ = false;
  float volume_ = 1.0f;
};

}  // namespace platform
