// Sound synthesis for the content generator: an engine from firing pulses, noise shaped by
// filters, tones with harmonics, all from fixed numbers and fixed noise seeds, so every run
// writes the same bytes. Loops are built circularly (whole periods, filters run round twice)
// so that they repeat without a seam.
#include "content/sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "content/loudness.h"

namespace content {
namespace {

constexpr double Pi = 3.14159265358979323846;

// Loudness of each kind of sound: the engine is the bed of a race, the race's events sit above
// it, and the menu's clicks well below the race.
constexpr double EngineLufs = -20, RumbleLufs = -23;
constexpr double CountdownLufs = -15, EventLufs = -16, CrashLufs = -13;
constexpr double MenuLufs = -29;

// Deterministic white noise in [-1, 1].
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  double next() {
    state_ = state_ * 1664525u + 1013904223u;
    return double(state_ >> 8) / double(1 << 23) - 1.0;
  }

 private:
  uint32_t state_;
};

// Noise in [-1, 1] from an index: the same index always gives the same value.
double HashNoise(uint32_t i, uint32_t seed) {
  uint32_t h = i * 2654435761u ^ (seed * 2246822519u + 374761393u);
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  h *= 3266489917u;
  h ^= h >> 16;
  return double(h >> 8) / double(1 << 23) - 1.0;
}

using Wave = std::vector<double>;

Wave Render(double seconds, const std::function<double(double)>& f) {
  Wave out(size_t(seconds * SoundRate));
  for (size_t i = 0; i < out.size(); ++i) out[i] = f(double(i) / SoundRate);
  return out;
}

// One-pole low pass at `hz`; on a loop it runs round twice so the end meets the start.
void LowPass(Wave& wave, double hz, bool looped) {
  const double a = 1.0 - std::exp(-2 * Pi * hz / SoundRate);
  double y = 0;
  for (int pass = looped ? 2 : 1; pass > 0; --pass) {
    Wave out(wave.size());
    for (size_t i = 0; i < wave.size(); ++i) out[i] = y += a * (wave[i] - y);
    if (pass == 1) wave = out;
  }
}

void RemoveMean(Wave& wave) {
  double mean = 0;
  for (double s : wave) mean += s;
  mean /= double(wave.size());
  for (double& s : wave) s -= mean;
}

SoundContent Finish(const char* file, Wave wave, double lufs, bool loop = false) {
  Level(wave, SoundRate, lufs, SoundPeakCeiling, loop);
  SoundContent sound{file, {}, lufs, loop};
  sound.samples.reserve(wave.size());
  for (double s : wave)
    sound.samples.push_back(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767)));
  return sound;
}

// Rises over `attack` seconds, falls exponentially with time constant `decay`.
double Envelope(double t, double attack, double decay) {
  return std::min(1.0, t / attack) * std::exp(-t / decay);
}

// Short fades at both ends, so no sound starts or stops with a click.
double Edges(double t, double length) {
  return std::clamp(std::min(t / 0.004, (length - t) / 0.004), 0.0, 1.0);
}

// A tone from partials: {multiple of the frequency, strength}.
double Partials(double frequency, double t, std::initializer_list<std::pair<double, double>> p) {
  double sum = 0;
  for (const auto& [multiple, strength] : p)
    sum += strength * std::sin(2 * Pi * frequency * multiple * t);
  return sum;
}

// An engine at one speed: a sharp pulse each time a cylinder fires (its harmonics reach up to
// 2-3 kHz), ringing at two resonances of the exhaust, with a breath of noise at each firing; four
// cylinders of slightly unequal strength give the beat under the note. One second holds a whole
// number of firings.
struct Firing {
  double hz;         // firings a second
  double low, high;  // the exhaust's two resonances, Hz
  double highShare;  // how much of the ring is the higher, brighter resonance
  double noise;      // strength of the noise at each firing
  double cutoff;     // the low pass over it all, Hz
  uint32_t seed;
};

Wave EngineLoop(const Firing& f) {
  const size_t count = SoundRate;  // one second
  const int firings = int(f.hz);
  constexpr double Cylinders[4] = {1.0, 0.82, 0.93, 0.76};
  Wave wave(count, 0.0);
  for (int k = 0; k < firings; ++k) {
    // Firings half a period off the loop's ends, so that the join falls between two of them.
    const double start = (k + 0.5 + 0.06 * HashNoise(uint32_t(k), f.seed)) / f.hz;
    const double strength = Cylinders[k % 4] * (1.0 + 0.05 * HashNoise(uint32_t(k), f.seed + 1));
    // Each pulse lasts at most 30 ms, wrapping round the end of the loop.
    const size_t first = size_t(std::floor(start * SoundRate));
    for (size_t j = 0; j < size_t(0.03 * SoundRate); ++j) {
      const size_t i = (first + j) % count;
      const double dt = double(first + j) / SoundRate - start;
      // A sharp push of pressure, then the exhaust ringing.
      const double push = std::exp(-dt / 0.0006);
      const double ring =
          (1 - f.highShare) * std::exp(-dt / 0.004) * std::sin(2 * Pi * f.low * dt) +
          f.highShare * std::exp(-dt / 0.0015) * std::sin(2 * Pi * f.high * dt);
      const double breath = f.noise * std::exp(-dt / 0.003) * HashNoise(uint32_t(i), f.seed + 2);
      wave[i] += strength * (0.8 * push + ring + breath);
    }
  }
  LowPass(wave, f.cutoff, true);
  RemoveMean(wave);
  return wave;
}

// Off-road rumble: a second of low noise built from whole-hertz partials with fixed random
// phases (so it loops), shaken by the bumps of the ground, with grit on top.
Wave Rumble() {
  Wave wave(SoundRate, 0.0);
  for (int hz = 25; hz <= 400; ++hz) {
    const double phase = Pi * (1 + HashNoise(uint32_t(hz), 41));
    const double strength = 1.0 / (1.0 + std::pow((hz - 70.0) / 60.0, 2.0));
    for (size_t i = 0; i < wave.size(); ++i)
      wave[i] += strength * std::sin(2 * Pi * hz * double(i) / SoundRate + phase);
  }
  Wave grit(SoundRate);
  for (size_t i = 0; i < grit.size(); ++i) grit[i] = HashNoise(uint32_t(i), 43);
  LowPass(grit, 1500, true);
  for (size_t i = 0; i < wave.size(); ++i) {
    const double t = double(i) / SoundRate;
    const double bumps =
        1.0 + 0.18 * std::sin(2 * Pi * 7 * t) + 0.12 * std::sin(2 * Pi * 11 * t + 1);
    wave[i] = (0.12 * wave[i] + 0.5 * grit[i]) * bumps;
  }
  RemoveMean(wave);
  return wave;
}

// A hit that costs health: a knock of the body and a short clack.
Wave Hit() {
  Noise noise(3);
  double smooth = 0;
  constexpr double Length = 0.2;
  return Render(Length, [&](double t) {
    smooth += 0.35 * (noise.next() - smooth);
    const double knock = std::sin(2 * Pi * (95 - 120 * t) * t) * Envelope(t, 0.002, 0.045);
    const double clack = smooth * Envelope(t, 0.001, 0.012);
    return (knock + 1.2 * clack) * Edges(t, Length);
  });
}

// The crash: a heavy thud falling in pitch, a crunch, and bent metal ringing on into a tail.
Wave Crash() {
  Noise noise(11);
  double smooth = 0;
  constexpr double Length = 1.8;
  // Inharmonic partials of a struck panel: {Hz, strength, decay in seconds}.
  constexpr double Ring[][3] = {{523, 0.35, 0.7},  {1187, 0.3, 0.5}, {1913, 0.22, 0.4},
                                {2753, 0.15, 0.3}, {3604, 0.1, 0.2}, {797, 0.2, 0.9}};
  return Render(Length, [&](double t) {
    smooth += 0.5 * (noise.next() - smooth);
    const double thud = std::sin(2 * Pi * (70 - 60 * t) * t) * Envelope(t, 0.003, 0.15);
    const double crunch = smooth * Envelope(t, 0.002, 0.08);
    double ring = 0;
    for (const auto& r : Ring) ring += r[1] * std::sin(2 * Pi * r[0] * t) * std::exp(-t / r[2]);
    ring *= std::min(1.0, t / 0.01);
    // The ring dies away over the last 0.4 s rather than stopping.
    const double tail = std::min(1.0, (Length - t) / 0.4);
    return (1.0 * thud + 0.8 * crunch + 0.6 * ring) * tail * Edges(t, Length);
  });
}

// Nitro: a rush of air through a resonance that sweeps up, swelling and falling away.
Wave Whoosh() {
  Noise noise(7);
  constexpr double Length = 0.9;
  double low = 0, band = 0;
  return Render(Length, [&](double t) {
    const double centre = 300 * std::pow(12.0, t / Length);
    const double f = 2 * std::sin(Pi * centre / SoundRate), damping = 0.3;
    const double high = noise.next() - low - damping * band;
    band += f * high;
    low += f * band;
    const double swell = std::sin(Pi * std::pow(t / Length, 0.55));
    return band * swell * swell * Edges(t, Length);
  });
}

// A countdown tone: odd partials, so it cuts through the engine without doubling another
// countdown tone's pitch.
Wave Countdown(double frequency, double length, double decay,
               std::initializer_list<std::pair<double, double>> partials) {
  return Render(length, [=](double t) {
    return Partials(frequency, t, partials) * Envelope(t, 0.004, decay) * Edges(t, length);
  });
}

Wave Click(double frequency, double length) {
  return Render(length, [=](double t) {
    return Partials(frequency, t, {{1, 1}, {2, 0.2}}) * Envelope(t, 0.001, length / 3) *
           Edges(t, length);
  });
}

// Notes played one after another (each `step` seconds apart), each ringing for `ring` seconds.
Wave Notes(const std::vector<double>& frequencies, double step, double ring) {
  const double length = step * double(frequencies.size() - 1) + ring;
  return Render(length, [&](double t) {
    double sum = 0;
    for (size_t i = 0; i < frequencies.size(); ++i) {
      const double start = step * double(i);
      if (t < start) break;
      const double u = t - start;
      sum += Partials(frequencies[i], u, {{1, 0.7}, {2, 0.2}, {3, 0.1}}) *
             Envelope(u, 0.01, ring / 3) * Edges(u, ring);
    }
    return sum * Edges(t, length);
  });
}

}  // namespace

std::vector<SoundContent> GameSounds() {
  // Idle: 90 firings a second, dark; high: twice that, recorded under load, brighter.
  const Firing idle{90, 320, 1300, 0.45, 0.2, 2500, 5};
  const Firing high{180, 480, 1700, 0.55, 0.35, 3200, 9};
  return {
      Finish("Sounds/engine.wav", EngineLoop(idle), EngineLufs, true),
      Finish("Sounds/engine_high.wav", EngineLoop(high), EngineLufs, true),
      Finish("Sounds/rumble.wav", Rumble(), RumbleLufs, true),
      Finish("Sounds/ready.wav", Countdown(660, 0.3, 0.12, {{1, 1}, {1.5, 0.35}, {2, 0.2}}),
             CountdownLufs),
      Finish("Sounds/beep.wav", Countdown(880, 0.18, 0.08, {{1, 1}, {3, 0.3}, {5, 0.12}}),
             CountdownLufs),
      Finish("Sounds/go.wav", Countdown(1760, 0.6, 0.25, {{1, 1}, {1.5, 0.25}, {2, 0.3}}),
             CountdownLufs),
      Finish("Sounds/damage.wav", Hit(), EventLufs),
      Finish("Sounds/nitro.wav", Whoosh(), EventLufs),
      Finish("Sounds/crash.wav", Crash(), CrashLufs),
      Finish("Sounds/lap.wav", Notes({1318.5, 1568.0}, 0.12, 0.5), EventLufs),
      Finish("Sounds/finish.wav", Notes({523.3, 659.3, 784.0, 1046.5}, 0.15, 0.9), EventLufs),
      Finish("Sounds/newbest.wav", Notes({784.0, 987.8, 1174.7, 1568.0, 1975.5}, 0.07, 0.6),
             EventLufs),
      Finish("Sounds/tick.wav", Click(2000, 0.03), MenuLufs),
      Finish("Sounds/confirm.wav", Notes({660.0, 990.0}, 0.06, 0.15), MenuLufs),
      Finish("Sounds/back.wav", Notes({440.0, 330.0}, 0.06, 0.15), MenuLufs),
  };
}

}  // namespace content
