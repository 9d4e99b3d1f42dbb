// Noise, rendering, second-order filters run round loops, envelopes and the loop's wander.
#include "content/sound_synthesis.h"

#include <algorithm>
#include <cmath>

namespace content {

double HashNoise(uint32_t i, uint32_t seed) {
  uint32_t h = i * 2654435761u ^ (seed * 2246822519u + 374761393u);
  h ^= h >> 15;
  h *= 2246822519u;
  h ^= h >> 13;
  h *= 3266489917u;
  h ^= h >> 16;
  return double(h >> 8) / double(1 << 23) - 1.0;
}

Wave Render(double seconds, int rate, const std::function<double(double)>& f) {
  Wave out(size_t(seconds * rate));
  for (size_t i = 0; i < out.size(); ++i) out[i] = f(double(i) / rate);
  return out;
}

void Filter(Wave& wave, int rate, FilterKind kind, double hz, double q, bool looped) {
  const double w = 2 * Pi * hz / rate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
  double b0, b1, b2;
  switch (kind) {
    case FilterKind::LowPass:
      b0 = b2 = (1 - c) / 2;
      b1 = 1 - c;
      break;
    case FilterKind::HighPass:
      b0 = b2 = (1 + c) / 2;
      b1 = -(1 + c);
      break;
    default:
      b0 = alpha;
      b1 = 0;
      b2 = -alpha;
  }
  const double a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  Wave out(wave.size());
  for (int pass = looped ? 2 : 1; pass > 0; --pass) {
    for (size_t i = 0; i < wave.size(); ++i) {
      const double y = (b0 * wave[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
      x2 = x1;
      x1 = wave[i];
      y2 = y1;
      y1 = y;
      out[i] = y;
    }
  }
  wave = std::move(out);
}

void RemoveMean(Wave& wave) {
  double mean = 0;
  for (double s : wave) mean += s;
  mean /= double(wave.size());
  for (double& s : wave) s -= mean;
}

double Envelope(double t, double attack, double decay) {
  return std::min(1.0, t / attack) * std::exp(-t / decay);
}

double Edges(double t, double length) {
  return std::clamp(std::min(t / 0.004, (length - t) / 0.004), 0.0, 1.0);
}

double Partials(double frequency, double t, std::initializer_list<std::pair<double, double>> p) {
  double sum = 0;
  for (const auto& [multiple, strength] : p)
    sum += strength * std::sin(2 * Pi * frequency * multiple * t);
  return sum;
}

Wander::Wander(double length, int highest, int avoid, uint32_t seed) : length_(length) {
  double peak = 0;
  for (int k = 1; k <= highest; ++k) {
    if (avoid > 0 && k % avoid == 0) continue;
    parts_.push_back({k, Pi * (1 + HashNoise(uint32_t(k), seed))});
    peak += 1.0 / k;
  }
  scale_ = peak > 0 ? 1.0 / peak : 0;
}

double Wander::at(double t) const {
  double sum = 0;
  for (const auto& [k, phase] : parts_) sum += std::sin(2 * Pi * k * t / length_ + phase) / k;
  return sum * scale_;
}

double Wander::integral(double t) const {
  double sum = 0;
  for (const auto& [k, phase] : parts_) {
    const double w = 2 * Pi * k / length_;
    sum += (std::cos(phase) - std::cos(w * t + phase)) / (w * k);
  }
  return sum * scale_;
}

}  // namespace content
