// Benchmarks of the sound: OpenAL Soft mixing a race (the engine loop pitched up, a hit every
// quarter second) into memory through its loopback device, one frame's worth of audio per
// iteration; reading every sound file; what starting the sound costs the main thread, and
// what the worker does meanwhile.
// Run from the folder that holds Data/.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <benchmark/benchmark.h>

#include <vector>

#include "assets/wave_reader.h"
#include "game/game_sounds.h"

namespace {

constexpr int Rate = 44100;
constexpr int FrameSamples = Rate / 60;  // the audio of one 60 Hz frame

ALuint Buffer(Sound sound) {
  platform::SoundSamples samples;
  std::string error;
  if (!ReadWaveFile(SoundFileName(sound), samples, error)) return 0;
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  alBufferData(buffer, samples.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
               samples.samples.data(), ALsizei(samples.samples.size() * 2), samples.rate);
  return buffer;
}

void BM_MixRaceFrame(benchmark::State& state) {
  auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
      alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
  auto render =
      reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
  ALCdevice* device = open ? open(nullptr) : nullptr;
  const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                               ALC_STEREO_SOFT,
                               ALC_FORMAT_TYPE_SOFT,
                               ALC_SHORT_SOFT,
                               ALC_FREQUENCY,
                               Rate,
                               0};
  ALCcontext* context = device ? alcCreateContext(device, attributes) : nullptr;
  if (context == nullptr || !alcMakeContextCurrent(context)) {
    state.SkipWithError("no OpenAL loopback device");
    return;
  }
  const ALuint engine = Buffer(Sound::Engine), hit = Buffer(Sound::Damage);
  if (engine == 0 || hit == 0) {
    state.SkipWithError("no Data/Sounds (run from the build folder)");
    return;
  }
  ALuint sources[2];
  alGenSources(2, sources);
  alSourcei(sources[0], AL_BUFFER, ALint(engine));
  alSourcei(sources[0], AL_LOOPING, AL_TRUE);
  alSourcef(sources[0], AL_PITCH, 2.0f);
  alSourcef(sources[0], AL_GAIN, 0.9f);
  alSourcePlay(sources[0]);
  alSourcei(sources[1], AL_BUFFER, ALint(hit));
  std::vector<int16_t> out(FrameSamples * 2);
  int frame = 0;
  for (auto _ : state) {
    if (++frame % 15 == 0) alSourcePlay(sources[1]);
    render(device, out.data(), FrameSamples);
    benchmark::DoNotOptimize(out.data());
  }
  // Share of one core that mixing takes in real time: mixing time over audio time.
  state.counters["audio_s"] = benchmark::Counter(double(state.iterations()) / 60.0);
  alDeleteSources(2, sources);
  alDeleteBuffers(1, &engine);
  alDeleteBuffers(1, &hit);
  alcMakeContextCurrent(nullptr);
  alcDestroyContext(context);
  alcCloseDevice(device);
}
BENCHMARK(BM_MixRaceFrame)->Unit(benchmark::kMicrosecond);

void BM_ReadEverySound(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < SoundCount; ++i) {
      platform::SoundSamples samples;
      std::string error;
      if (!ReadWaveFile(SoundFileName(Sound(i)), samples, error)) {
        state.SkipWithError("no Data/Sounds (run from the build folder)");
        return;
      }
      benchmark::DoNotOptimize(samples.samples.data());
    }
  }
}
BENCHMARK(BM_ReadEverySound)->Unit(benchmark::kMillisecond);

// The main thread's part of the start: the rest (device, files) runs on the worker.
void BM_StartGameSoundCall(benchmark::State& state) {
  for (auto _ : state) {
    StartGameSound(platform::MakeOpenAlSoundSystem());
    state.PauseTiming();
    StopGameSound();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartGameSoundCall)->Unit(benchmark::kMicrosecond)->Iterations(20);

// The worker's whole part: opening the output (as ALSOFT_CONF chooses) and making every sound.
void BM_OpenOutputAndMakeSounds(benchmark::State& state) {
  for (auto _ : state) {
    StartGameSound(platform::MakeOpenAlSoundSystem(), true);
    state.PauseTiming();
    StopGameSound();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenOutputAndMakeSounds)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
