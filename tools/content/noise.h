// Deterministic hash noise that repeats with a whole-number period, so textures built from it
// tile without a seam.
#pragma once

#include <cstdint>

namespace content {

// A hash of integer coordinates and a seed, in [0, 1).
float Hash01(int x, int y, uint32_t seed);

// Smooth value noise in [0, 1) with lattice cells of size 1, repeating every periodX cells
// along x and periodY cells along y (a period of 0 means no repetition on that axis).
float PeriodicNoise(float x, float y, int periodX, int periodY, uint32_t seed);

// Sum of octaves of PeriodicNoise, each twice as fine and half as strong; the first octave
// has periodX by periodY cells across the unit square [0, 1) x [0, 1) of (u, v). Result in [0, 1).
float TileableFractal(float u, float v, int periodX, int periodY, int octaves, uint32_t seed);

}  // namespace content
