// The building blocks of the generated sounds: deterministic noise, rendering a function of
// time, filters that can run round a loop, envelopes and slow wander that repeats with a loop.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

namespace content {

constexpr double Pi = 3.14159265358979323846;

using Wave = std::vector<double>;

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
double HashNoise(uint32_t i, uint32_t seed);

// `seconds` of f(t) at `rate` samples a second.
Wave Render(double seconds, int rate, const std::function<double(double)>& f);

// A second-order filter (RBJ's formulas). On a loop it runs round twice, so that what rings
// over the end comes back in at the start and the join has no seam.
enum class FilterKind { LowPass, HighPass, BandPass };
void Filter(Wave& wave, int rate, FilterKind kind, double hz, double q, bool looped);

void RemoveMean(Wave& wave);

// Rises over `attack` seconds, falls exponentially with time constant `decay`.
double Envelope(double t, double attack, double decay);

// Short fades at both ends, so no sound starts or stops with a click.
double Edges(double t, double length);

// A tone from partials: {multiple of the frequency, strength}.
double Partials(double frequency, double t, std::initializer_list<std::pair<double, double>> p);

// A slow random wander in [-1, 1] over a loop of `length` seconds that repeats only with the
// loop: a few sines of whole cycles per loop with random phases, leaving out every count of
// cycles that `avoid` divides (so that no shorter period, such as a second in a three-second
// loop, stands out).
class Wander {
 public:
  Wander(double length, int highest, int avoid, uint32_t seed);
  double at(double t) const;
  // The integral of `at` from 0 to t, whose value at the loop's end is 0.
  double integral(double t) const;

 private:
  double length_;
  std::vector<std::pair<int, double>> parts_;  // {cycles per loop, phase}
  double scale_ = 1;
};

}  // namespace content
