// Engine loops: a sharp pulse each time a cylinder fires, ringing at two resonances of the
// exhaust, with a breath of noise. The firing rate hunts slowly and each firing varies a little,
// so the loop holds no shorter repeat than itself; its join falls between two firings.
#include "content/engine_sounds.h"

#include <cmath>

namespace content {

Firing CarEngine(int car, bool high) {
  Firing f;
  switch (car) {
    case 1:  // 911PIZ: a small flat six revving high, tight and rasping
      f = {.hz = 114,
           .cylinders = {1.0, 0.9, 0.97, 0.86, 0.95, 0.88},
           .offsets = {0, 0, 0, 0, 0, 0},
           .low = 560,
           .high = 2100,
           .lowDecay = 0.003,
           .highDecay = 0.0011,
           .highShare = 0.55,
           .noise = 0.3,
           .cutoff = 3800,
           .hunt = 0.008,
           .seed = 21};
      break;
    case 2:  // FlyingTaco: a big V8 firing unevenly between its banks, deep and lumpy
      f = {.hz = 76,
           .cylinders = {1.0, 0.7, 0.92, 0.78, 0.97, 0.66, 0.9, 0.8},
           .offsets = {0, 0.14, -0.06, 0.1, 0.02, 0.16, -0.08, 0.12},
           .low = 190,
           .high = 820,
           .lowDecay = 0.007,
           .highDecay = 0.002,
           .highShare = 0.45,
           .noise = 0.25,
           .cutoff = 2200,
           .hunt = 0.018,
           .seed = 31};
      break;
    default:  // SMiLE: an inline four, plain and even
      f = {.hz = 90,
           .cylinders = {1.0, 0.82, 0.93, 0.76},
           .offsets = {0, 0, 0, 0},
           .low = 320,
           .high = 1300,
           .lowDecay = 0.004,
           .highDecay = 0.0015,
           .highShare = 0.45,
           .noise = 0.2,
           .cutoff = 2500,
           .hunt = 0.012,
           .seed = 5};
  }
  if (high) {
    // Twice the revs under load: brighter, rasping more, the rate steadier.
    f.hz *= 2;
    f.low *= 1.5;
    f.high *= 1.3;
    f.highShare = std::min(0.8, f.highShare + 0.1);
    f.noise *= 1.75;
    f.cutoff *= 1.3;
    f.hunt *= 0.5;
    f.seed += 4;
  }
  return f;
}

Wave EngineLoop(const Firing& f) {
  constexpr double Length = EngineLoopSeconds;
  const size_t count = size_t(Length * EngineRate);
  const int firings = int(std::lround(f.hz * Length));
  const double mean = firings / Length;
  // The rate hunts, and the firings swell and fade, along slow paths that repeat only with the
  // loop: whole cycles per loop, none a whole number of cycles a second.
  const Wander rate(Length, 7, 3, f.seed + 3), swell(Length, 9, 3, f.seed + 4);
  auto phase = [&](double t) { return mean * (t + f.hunt / (2 * Pi / Length) * rate.integral(t)); };
  auto speed = [&](double t) { return mean * (1 + f.hunt / (2 * Pi / Length) * rate.at(t)); };
  Wave wave(count, 0.0);
  const size_t cylinders = f.cylinders.size();
  for (int k = 0; k < firings; ++k) {
    // The k-th firing half an interval after the k-th whole turn of the phase, so that the
    // loop's ends fall between two firings.
    const double target =
        k + 0.5 + f.offsets[size_t(k) % cylinders] + 0.05 * HashNoise(uint32_t(k), f.seed);
    double start = target / mean;
    for (int step = 0; step < 4; ++step) start -= (phase(start) - target) / speed(start);
    const double strength = f.cylinders[size_t(k) % cylinders] *
                            (1.0 + 0.07 * HashNoise(uint32_t(k), f.seed + 1)) *
                            (1.0 + 0.12 * swell.at(start));
    // Each pulse lasts at most 30 ms, wrapping round the end of the loop.
    const long first = long(std::floor(start * EngineRate));
    for (long j = 0; j < long(0.03 * EngineRate); ++j) {
      const size_t i = size_t(((first + j) % long(count) + long(count)) % long(count));
      const double dt = double(first + j) / EngineRate - start;
      if (dt < 0) continue;
      // A sharp push of pressure, then the exhaust ringing.
      const double push = std::exp(-dt / 0.0006);
      const double ring =
          (1 - f.highShare) * std::exp(-dt / f.lowDecay) * std::sin(2 * Pi * f.low * dt) +
          f.highShare * std::exp(-dt / f.highDecay) * std::sin(2 * Pi * f.high * dt);
      const double breath = f.noise * std::exp(-dt / 0.003) * HashNoise(uint32_t(i), f.seed + 2);
      wave[i] += strength * (0.8 * push + ring + breath);
    }
  }
  Filter(wave, EngineRate, FilterKind::LowPass, f.cutoff, 0.6, true);
  RemoveMean(wave);
  return wave;
}

}  // namespace content
