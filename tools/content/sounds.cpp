// Sound synthesis for the content generator: sines, harmonics, enveloped noise, all from
// fixed numbers and a fixed noise seed, so every run writes the same bytes.
#include "content/sounds.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace content {
namespace {

constexpr double Pi = 3.14159265358979323846;

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

// `seconds` of samples from f(t), clipped to [-1, 1] and scaled to 16 bits.
std::vector<int16_t> Render(double seconds, const std::function<double(double)>& f) {
  const int count = int(seconds * SoundRate);
  std::vector<int16_t> out(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double v = std::clamp(f(double(i) / SoundRate), -1.0, 1.0);
    out[size_t(i)] = int16_t(std::lround(v * 32000.0));
  }
  return out;
}

// Rises over `attack` seconds, falls exponentially with time constant `decay`.
double Envelope(double t, double attack, double decay) {
  return std::min(1.0, t / attack) * std::exp(-t / decay);
}

// A tone with a few harmonics (brighter than a sine, easier on the ear than a square).
double Tone(double frequency, double t) {
  const double w = 2 * Pi * frequency * t;
  return 0.7 * std::sin(w) + 0.2 * std::sin(2 * w) + 0.1 * std::sin(3 * w);
}

// Short fades at both ends, so no sound starts or stops with a click.
double Edges(double t, double length) {
  return std::min({1.0, t / 0.005, (length - t) / 0.005});
}

std::vector<int16_t> Engine() {
  // 0.4 s holds a whole number of periods of 2.5 Hz, so every partial below loops seamlessly.
  constexpr double Length = 0.4, Base = 55.0;
  return Render(Length, [](double t) {
    const double w = 2 * Pi * Base * t;
    // A strong fundamental (which carries the pitch), a rumble of harmonics, and a slow throb.
    const double body = 0.55 * std::sin(w) + 0.22 * std::sin(2 * w + 0.5) +
                        0.12 * std::sin(3 * w + 1.1) + 0.07 * std::sin(4 * w + 2.0) +
                        0.04 * std::sin(6 * w + 0.3);
    const double throb = 1.0 + 0.15 * std::sin(2 * Pi * 5.0 * t);
    return 0.8 * body * throb;
  });
}

std::vector<int16_t> Beep(double frequency, double length) {
  return Render(
      length, [=](double t) { return 0.6 * std::sin(2 * Pi * frequency * t) * Edges(t, length); });
}

std::vector<int16_t> NoiseBurst(double length, double decay, double lowpass, uint32_t seed,
                                double thumpHz) {
  Noise noise(seed);
  double smooth = 0;
  return Render(length, [=, &noise, &smooth](double t) mutable {
    smooth += lowpass * (noise.next() - smooth);
    const double thump = std::sin(2 * Pi * thumpHz * t) * std::exp(-t / (decay * 0.7));
    return (0.9 * smooth + 0.6 * thump) * Envelope(t, 0.002, decay) * Edges(t, length);
  });
}

std::vector<int16_t> Whoosh() {
  Noise noise(7);
  double smooth = 0;
  constexpr double Length = 0.7;
  return Render(Length, [&](double t) {
    // The filter opens as the whoosh goes on: from a dull rush to a hiss.
    const double cutoff = 0.03 + 0.3 * t / Length;
    smooth += cutoff * (noise.next() - smooth);
    const double swell = std::sin(Pi * t / Length);
    return 1.6 * smooth * swell * swell;
  });
}

// Notes played one after another (each `step` seconds apart), each ringing for `ring` seconds.
std::vector<int16_t> Notes(const std::vector<double>& frequencies, double step, double ring,
                           double gain) {
  const double length = step * double(frequencies.size() - 1) + ring;
  return Render(length, [&](double t) {
    double sum = 0;
    for (size_t i = 0; i < frequencies.size(); ++i) {
      const double start = step * double(i);
      if (t < start) break;
      const double u = t - start;
      sum += Tone(frequencies[i], u) * Envelope(u, 0.01, ring / 3) * Edges(u, ring);
    }
    return gain * sum * Edges(t, length);
  });
}

}  // namespace

std::vector<SoundContent> GameSounds() {
  return {
      {"Sounds/engine.wav", Engine()},
      {"Sounds/beep.wav", Beep(880.0, 0.15)},
      {"Sounds/go.wav", Beep(1760.0, 0.5)},
      {"Sounds/damage.wav", NoiseBurst(0.15, 0.05, 0.25, 3, 90.0)},
      {"Sounds/nitro.wav", Whoosh()},
      {"Sounds/crash.wav", NoiseBurst(1.2, 0.3, 0.4, 11, 50.0)},
      {"Sounds/lap.wav", Notes({1318.5, 1568.0}, 0.12, 0.5, 0.45)},
      {"Sounds/finish.wav", Notes({523.3, 659.3, 784.0, 1046.5}, 0.15, 0.9, 0.4)},
      {"Sounds/newbest.wav", Notes({784.0, 987.8, 1174.7, 1568.0, 1975.5}, 0.07, 0.6, 0.35)},
      {"Sounds/tick.wav", Beep(2000.0, 0.025)},
      {"Sounds/confirm.wav", Notes({660.0, 990.0}, 0.06, 0.15, 0.5)},
      {"Sounds/back.wav", Notes({440.0, 330.0}, 0.06, 0.15, 0.25)},
  };
}

}  // namespace content
