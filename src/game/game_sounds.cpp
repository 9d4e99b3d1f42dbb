// The sounds of the game: read on a worker with the output opened there, then played from the
// main loop's thread only; the loops with their fades; volume, mute, M and the background pause.
#include "game/game_sounds.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>

#include "assets/wave_reader.h"
#include "platform/clock.h"
#include "platform/timeline.h"
#include "platform/worker_gate.h"
#include "records/settings.h"

namespace {

constexpr const char* FileNames[SoundCount] = {"Data/Sounds/engine.wav",
                                               "Data/Sounds/beep.wav",
                                               "Data/Sounds/go.wav",
                                               "Data/Sounds/damage.wav",
                                               "Data/Sounds/nitro.wav",
                                               "Data/Sounds/crash.wav",
                                               "Data/Sounds/lap.wav",
                                               "Data/Sounds/finish.wav",
                                               "Data/Sounds/newbest.wav",
                                               "Data/Sounds/tick.wav",
                                               "Data/Sounds/confirm.wav",
                                               "Data/Sounds/back.wav",
                                               "Data/Sounds/engine_high.wav",
                                               "Data/Sounds/rumble.wav",
                                               "Data/Sounds/ready.wav",
                                               "Data/Sounds/engine_pizzacar.wav",
                                               "Data/Sounds/engine_pizzacar_high.wav",
                                               "Data/Sounds/engine_flyingtaco.wav",
                                               "Data/Sounds/engine_flyingtaco_high.wav"};

constexpr Sound LoopSounds[LoopCount] = {Sound::Engine, Sound::EngineHigh, Sound::Rumble};
constexpr int LoopVoices = LoopCount * LoopSeats;
static_assert(LoopVoices == platform::LoopVoices);

// Each step of the volume below the top is this many decibels quieter.
constexpr double VolumeStepDb = 2.5;

// A loop fades out over this many frames at least, or this long if frames come slower.
constexpr int LoopFadeFrames = 18;
constexpr double LoopFadeSeconds = 0.3;

struct Output {
  std::unique_ptr<platform::SoundSystem> system;
  std::array<platform::SoundId, SoundCount> ids{};
};

// Opens the output and makes the sounds; null output when there is none. On a worker the
// opening and each sound are jobs of their own, with the box gate between them.
Output Prepare(std::unique_ptr<platform::SoundSystem> system, bool onWorker = false) {
  Output output;
  output.ids.fill(platform::NoSound);
  std::string why;
  platform::TimelineMark("sound: opening the output");
  const bool opened = system->open(why);
  platform::TimelineMark("sound: output opened");
  if (!opened) {
    std::fprintf(stderr, "quillon: %s; playing without sound\n", why.c_str());
    return output;
  }
  for (int i = 0; i < SoundCount; ++i) {
    if (onWorker) platform::BetweenJobs();
    platform::SoundSamples samples;
    std::string error;
    if (!ReadWaveFile(FileNames[i], samples, error)) {
      std::fprintf(stderr, "quillon: %s: %s; that sound is silent\n", FileNames[i], error.c_str());
      continue;
    }
    output.ids[i] = system->addSound(samples);
  }
  platform::TimelineMark("sound: sounds made");
  output.system = std::move(system);
  return output;
}

struct State {
  // The worker opening the output, and what it made: read once it is joined.
  std::unique_ptr<platform::GatedWorker> worker;
  std::shared_ptr<Output> made;
  Output output;
  bool runMuted = false;
  bool background = false;
  bool held = false, heldThisFrame = false;
  bool appliedMute = false, appliedPause = false;
  int appliedVolume = -1;
  double volumeChangedAt = -1;
  double switchedAt = -1;
  // Each loop: driven this frame, playing, its sound, its gain and pitch, and the fade under way.
  struct LoopState {
    bool driven = false;
    bool playing = false;
    Sound sound = Sound::Engine;
    float gain = 0, pitch = 1, pan = 0;
  };
  std::array<LoopState, LoopVoices> loops{};
  double lastFrameTime = 0;
};

State& S() {
  static State state;
  return state;
}

platform::SoundSystem* System() {
  return S().output.system.get();
}

bool Heard() {
  return !S().runMuted && GameSettings.sound();
}

void ApplyHearing() {
  State& s = S();
  if (System() == nullptr) return;
  const bool mute = !Heard();
  if (mute != s.appliedMute) System()->setMuted(mute);
  const bool pause = s.background || s.held;
  if (pause != s.appliedPause) System()->setPaused(pause);
  const int volume = GameSettings.volume();
  if (volume != s.appliedVolume) {
    const double db = VolumeStepDb * (volume - MaxSoundVolume);
    System()->setVolume(volume <= 0 ? 0.0f : float(std::pow(10.0, db / 20.0)));
  }
  s.appliedMute = mute;
  s.appliedPause = pause;
  s.appliedVolume = volume;
}

void Adopt(Output output) {
  State& s = S();
  s.output = std::move(output);
  s.appliedMute = s.appliedPause = false;
  s.appliedVolume = -1;
  for (auto& loop : s.loops) loop.playing = false;
  ApplyHearing();
}

}  // namespace

const char* SoundFileName(Sound sound) {
  return FileNames[static_cast<int>(sound)];
}

void StartGameSound(std::unique_ptr<platform::SoundSystem> system, bool wait) {
  StopGameSound();
  GameSettings.sound();  // the settings file is read here, on the main thread
  GameSettings.volume();
  if (wait) {
    Adopt(Prepare(std::move(system)));
  } else {
    auto made = std::make_shared<Output>();
    auto input = std::make_shared<std::unique_ptr<platform::SoundSystem>>(std::move(system));
    S().made = made;
    S().worker = std::make_unique<platform::GatedWorker>(
        [made, input] { *made = Prepare(std::move(*input), true); });
  }
}

bool StopGameSound() {
  State& s = S();
  bool closed = true;
  if (s.worker) {
    // A worker stuck in opening the output (a sound server that never answers) is left to end
    // with the process: the game does not wait on it.
    closed = s.worker->end(StopWaitSeconds);
    s.worker.reset();
    s.made.reset();
  }
  s.output = Output{};
  s.loops = {};
  return closed;
}

void PlaySound(Sound sound, float gain, float pitch, float pan) {
  if (System() == nullptr) return;
  System()->play(S().output.ids[static_cast<int>(sound)], gain, pitch, pan);
}

void DriveLoop(Loop loop, float gain, float pitch) {
  DriveLoop(loop, gain, pitch, LoopSounds[size_t(loop)]);
}

void DriveLoop(Loop loop, float gain, float pitch, Sound sound, int seat, float pan) {
  if (seat < 0 || seat >= LoopSeats) return;
  State::LoopState& l = S().loops[size_t(seat * LoopCount + int(loop))];
  l.driven = true;
  l.sound = sound;
  l.pitch = pitch;
  l.gain = gain;
  l.pan = pan;
}

void HoldSound() {
  S().heldThisFrame = true;
}

void MuteSoundForRun(bool muted) {
  S().runMuted = muted;
  ApplyHearing();
}

void ToggleSound() {
  State& s = S();
  if (Heard()) {
    GameSettings.setSound(false);
  } else {
    s.runMuted = false;
    GameSettings.setSound(true);
  }
  s.switchedAt = platform::MonotonicSeconds();
  ApplyHearing();
}

bool SoundOn() {
  return Heard();
}

double SoundSwitchedAt() {
  return S().switchedAt;
}

void SetSoundInBackground(bool background) {
  S().background = background;
  ApplyHearing();
}

bool SoundHeard() {
  return Heard() && !S().background;
}

void ChangeSoundVolume(int steps) {
  GameSettings.setVolume(std::clamp(GameSettings.volume() + steps, 0, MaxSoundVolume));
  S().volumeChangedAt = platform::MonotonicSeconds();
  ApplyHearing();
}

int SoundVolume() {
  return GameSettings.volume();
}

double SoundVolumeChangedAt() {
  return S().volumeChangedAt;
}

void SoundFrame() {
  State& s = S();
  if (s.worker && s.worker->done()) {
    s.worker->end();
    s.worker.reset();
    Adopt(std::move(*s.made));
    s.made.reset();
  }
  if (s.held != s.heldThisFrame) {
    s.held = s.heldThisFrame;
    ApplyHearing();
  }
  s.heldThisFrame = false;
  const double now = platform::MonotonicSeconds();
  const double elapsed = s.lastFrameTime > 0 ? now - s.lastFrameTime : 0;
  s.lastFrameTime = now;
  platform::SoundSystem* system = System();
  for (int voice = 0; voice < LoopVoices; ++voice) {
    State::LoopState& l = s.loops[size_t(voice)];
    const platform::SoundId sound = s.output.ids[static_cast<int>(l.sound)];
    if (system == nullptr || sound == platform::NoSound) {
      l.driven = false;
      continue;
    }
    if (l.driven) {
      system->loop(voice, sound, l.gain, l.pitch, l.pan);
      l.playing = true;
    } else if (l.playing) {
      // Not driven this frame: the race ended or was left, or the car is back on the road.
      const double step = std::max(1.0 / LoopFadeFrames, elapsed / LoopFadeSeconds);
      l.gain = float(std::max(0.0, l.gain - step));
      if (l.gain <= 0) {
        system->stopLoop(voice);
        l.playing = false;
      } else {
        system->loop(voice, sound, l.gain, l.pitch, l.pan);
      }
    }
    l.driven = false;
  }
}
