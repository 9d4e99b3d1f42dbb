// Sound synthesis for the content generator: engines from firing pulses, noise shaped by
// filters, tones with harmonics, all from fixed numbers and fixed noise seeds, so every run
// writes the same bytes. Loops are built circularly (whole periods, filters run round twice)
// so that they repeat without a seam.
#include "content/sounds.h"

#include <algorithm>
#include <cmath>

#include "content/engine_sounds.h"
#include "content/loudness.h"
#include "content/sound_synthesis.h"

namespace content {
namespace {

// Loudness of each kind of sound: the engine is the bed of a race, the race's events sit above
// it, and the menu's clicks well below the race.
constexpr double EngineLufs = -20, RumbleLufs = -20;
constexpr double CountdownLufs = -15, EventLufs = -16, CrashLufs = -13;
constexpr double MenuLufs = -29;

SoundContent Finish(const char* file, Wave wave, int rate, double lufs, bool loop = false) {
  Level(wave, rate, lufs, SoundPeakCeiling, loop);
  SoundContent sound{file, {}, rate, lufs, loop};
  sound.samples.reserve(wave.size());
  for (double s : wave)
    sound.samples.push_back(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767)));
  return sound;
}

// Adds a short burst of bright noise (a grain of grit or debris) at `at` seconds: `length`
// seconds long, falling away exponentially, ringing at `ring` Hz if that is not 0 (a small
// piece of metal or glass); wraps round the end on a loop.
void AddGrain(Wave& wave, int rate, double at, double length, double strength, uint32_t seed,
              bool looped, double ring = 0) {
  const long first = long(at * rate), count = long(length * rate), n = long(wave.size());
  double smooth = 0;
  for (long j = 0; j < count; ++j) {
    long i = first + j;
    if (looped) i %= n;
    if (i >= n) break;
    // A first difference of the noise: grit is bright.
    const double raw = HashNoise(uint32_t(j), seed);
    double grain = raw - smooth;
    smooth = raw;
    if (ring > 0) grain = 0.3 * grain + std::sin(2 * Pi * ring * double(j) / rate);
    wave[size_t(i)] += strength * grain * std::exp(-double(j) / (0.3 * count));
  }
}

// Off the road, two seconds at NoiseRate: the low rumble of the ground through the body,
// shaken by bumps, under the scrape of the underbody and a patter of gravel (300 Hz to 4 kHz)
// that carries it on small speakers. The race raises its pitch and gain with the speed.
Wave Rumble() {
  constexpr double Length = 2.0;
  constexpr int Rate = NoiseRate;
  const size_t n = size_t(Length * Rate);
  Wave low(n), scrape(n), gravel(n, 0.0);
  for (size_t i = 0; i < n; ++i) {
    low[i] = HashNoise(uint32_t(i), 41);
    scrape[i] = HashNoise(uint32_t(i), 42);
  }
  Filter(low, Rate, FilterKind::BandPass, 65, 0.9, true);
  Filter(low, Rate, FilterKind::LowPass, 160, 0.7, true);
  Filter(scrape, Rate, FilterKind::BandPass, 1100, 0.45, true);
  Filter(scrape, Rate, FilterKind::HighPass, 280, 0.7, true);
  // The gravel: grains at random moments, about 260 a second, of random strength.
  Noise when(47);
  for (double t = 0; t < Length;) {
    t += 0.0077 * (0.2 + 1.6 * (0.5 + 0.5 * when.next()));
    const double strength = 0.3 + 0.7 * std::fabs(when.next());
    AddGrain(gravel, Rate, t, 0.002 + 0.004 * std::fabs(when.next()), strength, uint32_t(t * 1e6),
             true);
  }
  Filter(gravel, Rate, FilterKind::BandPass, 2400, 0.5, true);
  const Wander bumps(Length, 30, 0, 44), rough(Length, 90, 0, 45);
  Wave wave(n);
  for (size_t i = 0; i < n; ++i) {
    const double t = double(i) / Rate;
    const double shake = 1.0 + 0.35 * bumps.at(t);
    const double grind = 0.6 + 0.4 * std::fabs(rough.at(t));
    wave[i] = 3.4 * low[i] * shake + 0.55 * scrape[i] * grind * shake + 0.5 * gravel[i];
  }
  RemoveMean(wave);
  return wave;
}

// A hit that costs health: the body panels' dull knock in the middle range over a little weight
// below, and a short clack.
Wave Hit() {
  constexpr double Length = 0.25;
  Noise noise(3);
  Wave clack =
      Render(Length, NoiseRate, [&](double t) { return noise.next() * Envelope(t, 0.0005, 0.01); });
  Filter(clack, NoiseRate, FilterKind::BandPass, 2600, 0.6, false);
  // The panel's modes: {Hz, strength, decay in seconds}, each sagging a little in pitch.
  constexpr double Body[][3] = {
      {185, 0.5, 0.05}, {330, 0.8, 0.04}, {560, 0.6, 0.03}, {910, 0.35, 0.02}};
  return Render(Length, NoiseRate, [&](double t) {
    const double knock = std::sin(2 * Pi * (90 - 100 * t) * t) * Envelope(t, 0.002, 0.04);
    double body = 0;
    for (const auto& m : Body)
      body += m[1] * std::sin(2 * Pi * m[0] * (1 - 0.6 * t) * t) * Envelope(t, 0.001, m[2]);
    const size_t i = std::min(clack.size() - 1, size_t(t * NoiseRate));
    return (0.45 * knock + body + 2.5 * clack[i]) * Edges(t, Length);
  });
}

// The crash: a heavy thud falling in pitch, a crunch of metal folding, debris falling and
// skittering away for most of a second, and bent panels ringing on, their partials in close
// pairs that beat against each other.
Wave Crash() {
  constexpr double Length = 2.2;
  constexpr int Rate = NoiseRate;
  Noise noise(11);
  Wave crunch = Render(Length, Rate, [&](double t) {
    // Folding metal: noise in tearing bursts over the first 0.15 s.
    const double tear = 0.5 + 0.5 * std::sin(2 * Pi * 37 * t + 3 * std::sin(2 * Pi * 11 * t));
    return noise.next() * Envelope(t, 0.002, 0.09) * (0.4 + 0.6 * tear * tear);
  });
  Filter(crunch, Rate, FilterKind::HighPass, 150, 0.7, false);
  // Debris: grains thinning out over a second and more, the early ones heavy and dull, the
  // late ones small and bright; every third a small piece ringing as it lands.
  Wave debris(size_t(Length * Rate), 0.0);
  Noise when(13);
  int grains = 0;
  for (double t = 0.03; t < 1.6; ++grains) {
    t += 0.01 * std::exp(t / 0.6) * (0.3 + 1.4 * (0.5 + 0.5 * when.next()));
    const double strength = std::exp(-t / 0.6) * (0.3 + 0.7 * std::fabs(when.next()));
    const double length = 0.003 + 0.012 * std::fabs(when.next()) * std::exp(-t);
    const double ring = grains % 3 == 2 ? 1500 + 5000 * std::fabs(when.next()) : 0;
    AddGrain(debris, Rate, t, ring > 0 ? 4 * length : length, strength, uint32_t(t * 1e6) + 7,
             false, ring);
  }
  Wave lowDebris = debris;
  Filter(lowDebris, Rate, FilterKind::LowPass, 900, 0.7, false);
  // Inharmonic partials of a struck panel in close pairs: {Hz, strength, decay in seconds}.
  constexpr double Ring[][3] = {{523, 0.3, 0.8},    {528.5, 0.25, 0.7}, {797, 0.2, 0.9},
                                {801.5, 0.15, 0.8}, {1187, 0.25, 0.5},  {1194, 0.2, 0.45},
                                {1913, 0.18, 0.4},  {1906, 0.14, 0.35}, {2753, 0.12, 0.3},
                                {3604, 0.08, 0.2},  {4471, 0.05, 0.15}};
  return Render(Length, Rate, [&](double t) {
    const size_t i = size_t(t * Rate);
    const double thud = std::sin(2 * Pi * (70 - 60 * t) * t) * Envelope(t, 0.003, 0.15);
    double ring = 0;
    for (const auto& r : Ring)
      ring += r[1] * std::sin(2 * Pi * r[0] * (1 - 0.004 * t) * t) * std::exp(-t / r[2]);
    ring *= std::min(1.0, t / 0.01);
    // Everything dies away over the last 0.5 s rather than stopping.
    const double tail = std::min(1.0, (Length - t) / 0.5);
    return (1.0 * thud + 1.0 * crunch[i] + 0.6 * debris[i] + 0.8 * lowDebris[i] + 0.5 * ring) *
           tail * Edges(t, Length);
  });
}

// Nitro: a rush of air through a resonance that sweeps up, swelling and falling away, with a
// hiss on top.
Wave Whoosh() {
  Noise noise(7);
  constexpr double Length = 0.9;
  double low = 0, band = 0, last = 0;
  return Render(Length, NoiseRate, [&](double t) {
    const double centre = 300 * std::pow(12.0, t / Length);
    const double f = 2 * std::sin(Pi * centre / NoiseRate), damping = 0.3;
    const double white = noise.next();
    const double high = white - low - damping * band;
    band += f * high;
    low += f * band;
    const double hiss = 0.25 * (white - last);
    last = white;
    const double swell = std::sin(Pi * std::pow(t / Length, 0.55));
    return (band + hiss * swell) * swell * swell * Edges(t, Length);
  });
}

// A countdown tone: odd partials, so it cuts through the engine without doubling another
// countdown tone's pitch.
Wave Countdown(double frequency, double length, double decay,
               std::initializer_list<std::pair<double, double>> partials) {
  return Render(length, ToneRate, [=](double t) {
    return Partials(frequency, t, partials) * Envelope(t, 0.004, decay) * Edges(t, length);
  });
}

Wave Click(double frequency, double length) {
  return Render(length, ToneRate, [=](double t) {
    return Partials(frequency, t, {{1, 1}, {2, 0.2}}) * Envelope(t, 0.001, length / 3) *
           Edges(t, length);
  });
}

// Notes played one after another (each `step` seconds apart), each ringing for `ring` seconds.
Wave Notes(const std::vector<double>& frequencies, double step, double ring) {
  const double length = step * double(frequencies.size() - 1) + ring;
  return Render(length, ToneRate, [&](double t) {
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
  // Each car's engine, idle and high, named after the car's model (SMiLE's plainly).
  constexpr const char* EngineFiles[EngineCars][2] = {
      {"Sounds/engine.wav", "Sounds/engine_high.wav"},
      {"Sounds/engine_pizzacar.wav", "Sounds/engine_pizzacar_high.wav"},
      {"Sounds/engine_flyingtaco.wav", "Sounds/engine_flyingtaco_high.wav"}};
  auto engine = [&](int car, bool high) {
    const Firing firing = CarEngine(car, high);
    SoundContent sound =
        Finish(EngineFiles[car][high], EngineLoop(firing), EngineRate, EngineLufs, true);
    sound.firings = std::lround(firing.hz * EngineLoopSeconds) / EngineLoopSeconds;
    return sound;
  };
  std::vector<SoundContent> sounds = {
      engine(0, false),
      engine(0, true),
      Finish("Sounds/rumble.wav", Rumble(), NoiseRate, RumbleLufs, true),
      Finish("Sounds/ready.wav", Countdown(660, 0.3, 0.12, {{1, 1}, {1.5, 0.35}, {2, 0.2}}),
             ToneRate, CountdownLufs),
      Finish("Sounds/beep.wav", Countdown(880, 0.18, 0.08, {{1, 1}, {3, 0.3}, {5, 0.12}}), ToneRate,
             CountdownLufs),
      Finish("Sounds/go.wav", Countdown(1760, 0.6, 0.25, {{1, 1}, {1.5, 0.25}, {2, 0.3}}), ToneRate,
             CountdownLufs),
      Finish("Sounds/damage.wav", Hit(), NoiseRate, EventLufs),
      Finish("Sounds/nitro.wav", Whoosh(), NoiseRate, EventLufs),
      Finish("Sounds/crash.wav", Crash(), NoiseRate, CrashLufs),
      Finish("Sounds/lap.wav", Notes({1318.5, 1568.0}, 0.12, 0.5), ToneRate, EventLufs),
      Finish("Sounds/finish.wav", Notes({523.3, 659.3, 784.0, 1046.5}, 0.15, 0.9), ToneRate,
             EventLufs),
      Finish("Sounds/newbest.wav", Notes({784.0, 987.8, 1174.7, 1568.0, 1975.5}, 0.07, 0.6),
             ToneRate, EventLufs),
      Finish("Sounds/tick.wav", Click(2000, 0.03), ToneRate, MenuLufs),
      Finish("Sounds/confirm.wav", Notes({660.0, 990.0}, 0.06, 0.15), ToneRate, MenuLufs),
      Finish("Sounds/back.wav", Notes({440.0, 330.0}, 0.06, 0.15), ToneRate, MenuLufs),
  };
  for (int car = 1; car < EngineCars; ++car)
    for (bool high : {false, true}) sounds.push_back(engine(car, high));
  return sounds;
}

}  // namespace content
