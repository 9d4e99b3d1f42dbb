// K-weighting (a high shelf near 1.7 kHz and a high pass near 38 Hz, designed for the sample
// rate), 400 ms windows, 4x oversampling for the peak, and a soft limiter for the leveller.
#include "content/loudness.h"

#include <algorithm>
#include <cmath>

namespace content {
namespace {

constexpr double Pi = 3.14159265358979323846;

struct Biquad {
  double b0, b1, b2, a1, a2;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  double step(double x) {
    const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
  }
};

Biquad Shelf(int rate) {
  const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
  const double k = std::tan(Pi * f0 / rate);
  const double vh = std::pow(10.0, gainDb / 20.0), vb = std::pow(vh, 0.4996667741545416);
  const double a0 = 1.0 + k / q + k * k;
  return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
          2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

Biquad HighPass(int rate) {
  const double f0 = 38.13547087602444, q = 0.5003270373238773;
  const double k = std::tan(Pi * f0 / rate);
  const double a0 = 1.0 + k / q + k * k;
  return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

}  // namespace

double MaxMomentaryLoudness(const std::vector<double>& samples, int rate, bool looped) {
  const size_t window = size_t(rate) * 4 / 10, hop = size_t(rate) / 10;
  // A loop is measured over two passes after one to settle the filters; anything else once,
  // padded with silence to a whole window.
  std::vector<double> input;
  const int passes = looped ? 3 : 1;
  for (int p = 0; p < passes; ++p) input.insert(input.end(), samples.begin(), samples.end());
  if (input.size() < window) input.resize(window, 0.0);
  Biquad shelf = Shelf(rate), pass = HighPass(rate);
  std::vector<double> squares(input.size());
  for (size_t i = 0; i < input.size(); ++i) {
    const double y = pass.step(shelf.step(input[i]));
    squares[i] = y * y;
  }
  const size_t from = looped ? samples.size() : 0;
  double loudest = 0;
  for (size_t start = from; start + window <= squares.size(); start += hop) {
    double sum = 0;
    for (size_t i = start; i < start + window; ++i) sum += squares[i];
    loudest = std::max(loudest, sum / double(window));
  }
  return loudest > 0 ? -0.691 + 10.0 * std::log10(loudest) : -120.0;
}

double TruePeakDb(const std::vector<double>& samples, bool looped) {
  // Windowed-sinc interpolation at three points between each pair of samples.
  constexpr int Taps = 16, Factor = 4;
  const long n = long(samples.size());
  auto at = [&](long i) {
    if (looped) return samples[size_t(((i % n) + n) % n)];
    return i >= 0 && i < n ? samples[size_t(i)] : 0.0;
  };
  double peak = 0;
  for (long i = 0; i < n; ++i) {
    peak = std::max(peak, std::fabs(samples[size_t(i)]));
    for (int phase = 1; phase < Factor; ++phase) {
      const double frac = double(phase) / Factor;
      double sum = 0;
      for (int k = -Taps + 1; k <= Taps; ++k) {
        const double x = double(k) - frac;
        const double sinc = std::sin(Pi * x) / (Pi * x);
        const double hann = 0.5 + 0.5 * std::cos(Pi * x / Taps);
        sum += at(i + k) * sinc * hann;
      }
      peak = std::max(peak, std::fabs(sum));
    }
  }
  return peak > 0 ? 20.0 * std::log10(peak) : -120.0;
}

void Level(std::vector<double>& samples, int rate, double targetLufs, double ceilingDb,
           bool looped) {
  const double ceiling = std::pow(10.0, ceilingDb / 20.0);
  for (int round = 0; round < 12; ++round) {
    const double gain =
        std::pow(10.0, (targetLufs - MaxMomentaryLoudness(samples, rate, looped)) / 20.0);
    for (double& s : samples) s *= gain;
    const double over = TruePeakDb(samples, looped) - ceilingDb;
    if (over <= 0) return;
    // Round off the peaks: a tanh knee that meets the ceiling, a little under it each round.
    const double knee = ceiling * std::pow(10.0, -(over + 0.5) / 20.0);
    for (double& s : samples) s = knee * std::tanh(s / knee);
  }
  // Never above the ceiling, even if the loudness then falls short of the target.
  const double over = TruePeakDb(samples, looped) - ceilingDb;
  if (over > 0)
    for (double& s : samples) s *= std::pow(10.0, -over / 20.0);
}

}  // namespace content
