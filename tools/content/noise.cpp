// Hash and value noise for the generated textures.
#include "content/noise.h"

#include <cmath>

namespace content {

float Hash01(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return (h >> 8) / 16777216.0f;
}

namespace {
int Wrap(int v, int period) {
  return period > 0 ? ((v % period) + period) % period : v;
}
float Fade(float t) {
  return t * t * (3 - 2 * t);
}
}  // namespace

float PeriodicNoise(float x, float y, int periodX, int periodY, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  float tx = Fade(x - fx), ty = Fade(y - fy);
  int x0 = Wrap(ix, periodX), x1 = Wrap(ix + 1, periodX);
  int y0 = Wrap(iy, periodY), y1 = Wrap(iy + 1, periodY);
  float a = Hash01(x0, y0, seed), b = Hash01(x1, y0, seed);
  float c = Hash01(x0, y1, seed), d = Hash01(x1, y1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float TileableFractal(float u, float v, int periodX, int periodY, int octaves, uint32_t seed) {
  float sum = 0, weight = 0, amplitude = 1;
  for (int o = 0; o < octaves; ++o) {
    int px = periodX << o, py = periodY << o;
    sum += amplitude * PeriodicNoise(u * px, v * py, px, py, seed + 101u * o);
    weight += amplitude;
    amplitude *= 0.5f;
  }
  return sum / weight;
}

}  // namespace content
