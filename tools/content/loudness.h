// Loudness and peak of generated sounds: K-weighted loudness over 400 ms windows and the true
// (4x oversampled) peak, and a leveller that brings a sound to a loudness under a peak ceiling.
#pragma once

#include <vector>

namespace content {

// The loudest 400 ms of `samples` (in [-1, 1], at `rate`), in LUFS: K-weighted mean square
// over windows stepped by 100 ms; a sound shorter than a window counts as padded with silence.
// A loop (`looped`) is measured as if it went on repeating.
double MaxMomentaryLoudness(const std::vector<double>& samples, int rate, bool looped = false);

// The largest magnitude between and at the samples, from a 4x oversampled copy, in dBFS.
double TruePeakDb(const std::vector<double>& samples, bool looped = false);

// Scales `samples` to `targetLufs` of loudest momentary loudness; where that would put the true
// peak above `ceilingDb`, the loudest parts are rounded off softly until it fits.
void Level(std::vector<double>& samples, int rate, double targetLufs, double ceilingDb,
           bool looped = false);

}  // namespace content
