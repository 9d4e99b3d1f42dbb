// The cars' engines, synthesized from firing pulses: each car its own cylinders, exhaust
// resonances and noise, recorded at idle and at twice those revs under load.
#pragma once

#include <cstdint>
#include <vector>

#include "content/sound_synthesis.h"

namespace content {

// Engine loops are this long and at this rate.
constexpr double EngineLoopSeconds = 3.0;
constexpr int EngineRate = 22050;

// One engine at one speed.
struct Firing {
  double hz;                      // firings a second, on average
  std::vector<double> cylinders;  // each cylinder's strength, in firing order
  std::vector<double> offsets;    // each cylinder firing early (-) or late, in firing intervals
  double low, high;               // the exhaust's two resonances, Hz
  double lowDecay, highDecay;     // how long each rings, seconds
  double highShare;               // how much of the ring is the higher, brighter resonance
  double noise;                   // strength of the noise at each firing
  double cutoff;                  // the low pass over it all, Hz
  double hunt;                    // how far the firing rate wanders, a fraction of it
  uint32_t seed;
};

// A car's engine at idle; `high` gives the same engine at twice the revs under load.
Firing CarEngine(int car, bool high);
constexpr int EngineCars = 3;

// A seamless loop of EngineLoopSeconds at EngineRate.
Wave EngineLoop(const Firing& f);

}  // namespace content
