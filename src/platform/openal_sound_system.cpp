// OpenAL Soft implementation of the sound system: one device and context, a buffer per sound,
// a small pool of sources for the sounds played once and one source for each looping voice.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/efx.h>

#include <dlfcn.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/sound_system.h"
#include "platform/worker_gate.h"

namespace platform {
namespace {

// Sounds played once that can overlap: the oldest is cut when all are busy.
constexpr int OneShotVoices = 8;

class OpenAlSoundSystem : public SoundSystem {
 public:
  ~OpenAlSoundSystem() override { close(); }

  bool open(std::string& why) override {
    device_ = alcOpenDevice(nullptr);
    if (device_ == nullptr) {
      why = "no audio device could be opened";
      return false;
    }
    // No auxiliary sends: the game uses no effects, and each of the voices OpenAL Soft sets
    // aside would otherwise carry room for their mixing.
    const ALCint attributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
    context_ = alcCreateContext(device_, attributes);
    if (context_ == nullptr || !alcMakeContextCurrent(context_)) {
      why = "the audio device refused a context";
      if (context_ != nullptr) alcDestroyContext(context_);
      context_ = nullptr;
      alcCloseDevice(device_);
      device_ = nullptr;
      return false;
    }
    alGetError();
    alGenSources(OneShotVoices, oneShots_.data());
    alGenSources(LoopVoices, loops_.data());
    if (alGetError() != AL_NO_ERROR) {
      why = "the audio device has no voices";
      close();
      return false;
    }
    // Plain stereo playback: every voice sits at the listener, unattenuated.
    for (ALuint source : oneShots_) alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    for (ALuint source : loops_) {
      alSourcei(source, AL_LOOPING, AL_TRUE);
      alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    }
    quietDuringBoxes();
    return true;
  }

  SoundId addSound(const SoundSamples& sound) override {
    if (context_ == nullptr || sound.samples.empty()) return NoSound;
    const ALenum format = sound.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, format, sound.samples.data(),
                 ALsizei(sound.samples.size() * sizeof(int16_t)), sound.rate);
    if (alGetError() != AL_NO_ERROR) {
      alDeleteBuffers(1, &buffer);
      return NoSound;
    }
    buffers_.push_back(buffer);
    return SoundId(buffers_.size() - 1);
  }

  void play(SoundId sound, float gain, float pitch, float pan) override {
    if (!valid(sound)) return;
    // A free voice, else the one that started longest ago.
    ALuint source = oneShots_[next_];
    for (ALuint candidate : oneShots_) {
      ALint state = AL_STOPPED;
      alGetSourcei(candidate, AL_SOURCE_STATE, &state);
      if (state != AL_PLAYING && state != AL_PAUSED) {
        source = candidate;
        break;
      }
    }
    next_ = (next_ + 1) % OneShotVoices;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(buffers_[sound]));
    alSourcef(source, AL_GAIN, gain);
    alSourcef(source, AL_PITCH, pitch);
    place(source, pan);
    alSourcePlay(source);
    if (paused_) alSourcePause(source);
  }

  void loop(int voice, SoundId sound, float gain, float pitch, float pan) override {
    if (!valid(sound) || voice < 0 || voice >= LoopVoices) return;
    const ALuint source = loops_[size_t(voice)];
    alSourcef(source, AL_GAIN, gain);
    alSourcef(source, AL_PITCH, pitch);
    place(source, pan);
    if (loopSounds_[size_t(voice)] != sound) {
      alSourceStop(source);
      alSourcei(source, AL_BUFFER, ALint(buffers_[sound]));
      loopSounds_[size_t(voice)] = sound;
      alSourcePlay(source);
      if (paused_) alSourcePause(source);
    }
  }

  void stopLoop(int voice) override {
    if (context_ == nullptr || voice < 0 || voice >= LoopVoices) return;
    if (loopSounds_[size_t(voice)] == NoSound) return;
    alSourceStop(loops_[size_t(voice)]);
    alSourcei(loops_[size_t(voice)], AL_BUFFER, 0);
    loopSounds_[size_t(voice)] = NoSound;
  }

  void setMuted(bool muted) override {
    muted_ = muted;
    if (context_ != nullptr) alListenerf(AL_GAIN, muted_ ? 0.0f : volume_);
  }

  void setVolume(float volume) override {
    volume_ = volume;
    if (context_ != nullptr) alListenerf(AL_GAIN, muted_ ? 0.0f : volume_);
  }

  // Pauses the voices only: pausing the whole device would stop the mixing too, but some outputs
  // (the wave-file one) do not take a device paused and resumed.
  void setPaused(bool paused) override {
    if (context_ == nullptr || paused == paused_) return;
    paused_ = paused;
    for (ALuint source : oneShots_) {
      ALint state = AL_STOPPED;
      alGetSourcei(source, AL_SOURCE_STATE, &state);
      if (paused && state == AL_PLAYING) alSourcePause(source);
      if (!paused && state == AL_PAUSED) alSourcePlay(source);
    }
    for (int voice = 0; voice < LoopVoices; ++voice) {
      if (loopSounds_[size_t(voice)] == NoSound) continue;
      paused ? alSourcePause(loops_[size_t(voice)]) : alSourcePlay(loops_[size_t(voice)]);
    }
  }

 private:
  // A voice on a circle of radius 1 round the listener (the distance that attenuates nothing):
  // in front for pan 0, at the left or right for -1 or 1.
  static void place(ALuint source, float pan) {
    const float x = pan < -1 ? -1 : pan > 1 ? 1 : pan;
    alSource3f(source, AL_POSITION, x, 0, -std::sqrt(1 - x * x));
  }

  // The device's mixer thread is a thread of OpenAL's, not ours, and must not run while a box's
  // process is forked (it might hold a lock then): the device is paused, which stops and joins
  // it, for as long as a box is shown. The wave-file output is left running: it rewinds to its
  // header when stopped and would write over it when started again.
  void quietDuringBoxes() {
    if (!alcIsExtensionPresent(device_, "ALC_SOFT_pause_device")) return;
    const ALCchar* name = alcGetString(device_, ALC_ALL_DEVICES_SPECIFIER);
    if (name != nullptr && std::strcmp(name, "Wave File Writer") == 0) return;
    using DeviceCall = void(ALC_APIENTRY*)(ALCdevice*);
    auto pause = reinterpret_cast<DeviceCall>(alcGetProcAddress(device_, "alcDevicePauseSOFT"));
    auto resume = reinterpret_cast<DeviceCall>(alcGetProcAddress(device_, "alcDeviceResumeSOFT"));
    if (pause == nullptr || resume == nullptr) return;
    ALCdevice* device = device_;
    boxHook_ = AddBoxHook([pause, device] { pause(device); }, [resume, device] { resume(device); });
  }

  void close() {
    if (context_ == nullptr) return;
    // First, so that no box pauses or resumes the device while it closes.
    if (boxHook_ != 0) RemoveBoxHook(boxHook_);
    boxHook_ = 0;
    alSourceStopv(OneShotVoices, oneShots_.data());
    alSourceStopv(LoopVoices, loops_.data());
    alDeleteSources(OneShotVoices, oneShots_.data());
    alDeleteSources(LoopVoices, loops_.data());
    loopSounds_.fill(NoSound);
    if (!buffers_.empty()) alDeleteBuffers(ALsizei(buffers_.size()), buffers_.data());
    buffers_.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
    context_ = nullptr;
    device_ = nullptr;
  }

  bool valid(SoundId sound) const {
    return context_ != nullptr && sound >= 0 && size_t(sound) < buffers_.size();
  }

  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  std::array<ALuint, OneShotVoices> oneShots_{};
  std::array<ALuint, LoopVoices> loops_{};
  std::array<SoundId, LoopVoices> loopSounds_{NoSound, NoSound, NoSound, NoSound, NoSound, NoSound};
  float volume_ = 1.0f;
  bool muted_ = false;
  std::vector<ALuint> buffers_;
  int next_ = 0;
  bool paused_ = false;
  int boxHook_ = 0;  // the gate's hook that pauses the device during boxes, 0 when none
};

// ALSA's error handler while the game runs: says nothing.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<SoundSystem> MakeOpenAlSoundSystem() {
  // The game says itself, in one line, when there is no sound; OpenAL Soft's log and ALSA's
  // error printing (ALSA is the backend that fails loudest without a sound card) stay quiet.
  // Set here, on the thread that starts the game, before OpenAL reads its environment.
  setenv("ALSOFT_LOGLEVEL", "0", 0);
  if (void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL)) {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
      set(QuietAlsa);
    // Kept open: ALSA must keep the handler for as long as OpenAL may use it.
  }
  return std::make_unique<OpenAlSoundSystem>();
}

}  // namespace platform
