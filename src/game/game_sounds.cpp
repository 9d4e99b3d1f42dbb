// The sounds of the game: read on a worker with the output opened there, then played from the
// main loop's thread only; the engine's loop with its fade; mute, M and the background pause.
#include "game/game_sounds.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <utility>

#include "assets/wave_reader.h"
#include "platform/clock.h"
#include "platform/worker_gate.h"
#include "records/settings.h"

namespace {

constexpr const char* FileNames[SoundCount] = {
    "Data/Sounds/engine.wav", "Data/Sounds/beep.wav",    "Data/Sounds/go.wav",
    "Data/Sounds/damage.wav", "Data/Sounds/nitro.wav",   "Data/Sounds/crash.wav",
    "Data/Sounds/lap.wav",    "Data/Sounds/finish.wav",  "Data/Sounds/newbest.wav",
    "Data/Sounds/tick.wav",   "Data/Sounds/confirm.wav", "Data/Sounds/back.wav"};

// The engine fades out over this many frames at least, or this long if frames come slower.
constexpr int EngineFadeFrames = 18;
constexpr double EngineFadeSeconds = 0.3;

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
  if (!system->open(why)) {
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
  bool appliedMute = false, appliedPause = false;
  // The engine: driven this frame, playing, its gain and pitch, and the fade under way.
  bool engineDriven = false;
  bool enginePlaying = false;
  float engineGain = 0, enginePitch = 1;
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
  if (s.background != s.appliedPause) System()->setPaused(s.background);
  s.appliedMute = mute;
  s.appliedPause = s.background;
}

void Adopt(Output output) {
  State& s = S();
  s.output = std::move(output);
  s.appliedMute = s.appliedPause = false;
  s.enginePlaying = false;
  ApplyHearing();
}

}  // namespace

const char* SoundFileName(Sound sound) {
  return FileNames[static_cast<int>(sound)];
}

void StartGameSound(std::unique_ptr<platform::SoundSystem> system, bool wait) {
  StopGameSound();
  GameSettings.sound();  // the settings file is read here, on the main thread
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
  s.enginePlaying = false;
  s.engineDriven = false;
  return closed;
}

void PlaySound(Sound sound, float gain) {
  if (System() == nullptr) return;
  System()->play(S().output.ids[static_cast<int>(sound)], gain, 1.0f);
}

void DriveEngine(float pitch, float gain) {
  State& s = S();
  s.engineDriven = true;
  s.enginePitch = pitch;
  s.engineGain = gain;
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
  ApplyHearing();
}

void SetSoundInBackground(bool background) {
  S().background = background;
  ApplyHearing();
}

bool SoundHeard() {
  return Heard() && !S().background;
}

void SoundFrame() {
  State& s = S();
  if (s.worker && s.worker->done()) {
    s.worker->end();
    s.worker.reset();
    Adopt(std::move(*s.made));
    s.made.reset();
  }
  const double now = platform::MonotonicSeconds();
  const double elapsed = s.lastFrameTime > 0 ? now - s.lastFrameTime : 0;
  s.lastFrameTime = now;
  platform::SoundSystem* system = System();
  const platform::SoundId engine = s.output.ids[static_cast<int>(Sound::Engine)];
  if (system == nullptr || engine == platform::NoSound) {
    s.engineDriven = false;
    return;
  }
  if (s.engineDriven) {
    system->loop(engine, s.engineGain, s.enginePitch);
    s.enginePlaying = true;
  } else if (s.enginePlaying) {
    // Not driven this frame: the race ended or was left; the engine dies away.
    const double step = std::max(1.0 / EngineFadeFrames, elapsed / EngineFadeSeconds);
    s.engineGain = float(std::max(0.0, s.engineGain - step));
    if (s.engineGain <= 0) {
      system->stopLoop();
      s.enginePlaying = false;
    } else {
      system->loop(engine, s.engineGain, s.enginePitch);
    }
  }
  s.engineDriven = false;
}
