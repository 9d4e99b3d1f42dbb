// The recording sound system: every call kept with its frame, nothing played.
#include "platform/recording_sound_system.h"

namespace platform {

bool RecordingSoundSystem::open(std::string& why) {
  if (deviceMissing) why = "no audio device could be opened";
  return !deviceMissing;
}

SoundId RecordingSoundSystem::addSound(const SoundSamples& samples) {
  if (samples.samples.empty()) return NoSound;
  sounds.push_back(samples);
  return SoundId(sounds.size() - 1);
}

void RecordingSoundSystem::record(Call call, SoundId sound, float gain, float pitch, int voice,
                                  float pan) {
  events.push_back({frame, call, sound, gain, pitch, voice, pan});
}

void RecordingSoundSystem::play(SoundId sound, float gain, float pitch, float pan) {
  record(Call::Play, sound, gain, pitch, 0, pan);
}

void RecordingSoundSystem::loop(int voice, SoundId sound, float gain, float pitch, float pan) {
  record(Call::Loop, sound, gain, pitch, voice, pan);
}

void RecordingSoundSystem::stopLoop(int voice) {
  record(Call::StopLoop, NoSound, 0, 0, voice);
}

void RecordingSoundSystem::setVolume(float volume) {
  volume_ = volume;
  record(Call::Volume, NoSound, volume);
}

void RecordingSoundSystem::setMuted(bool muted) {
  muted_ = muted;
  record(muted ? Call::Mute : Call::Unmute);
}

void RecordingSoundSystem::setPaused(bool paused) {
  paused_ = paused;
  record(paused ? Call::Pause : Call::Resume);
}

std::vector<RecordingSoundSystem::Event> RecordingSoundSystem::calls(Call call,
                                                                     SoundId sound) const {
  std::vector<Event> found;
  for (const Event& event : events)
    if (event.call == call && (sound == NoSound || event.sound == sound)) found.push_back(event);
  return found;
}

}  // namespace platform
