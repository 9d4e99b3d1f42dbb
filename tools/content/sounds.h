// The game's sounds, synthesized: the engine loop, the countdown, hits, nitro, crash, laps,
// finish, new best and the menu clicks, as mono 16-bit samples at SoundRate.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace content {

constexpr int SoundRate = 22050;

struct SoundContent {
  std::string file;  // name inside Data/, e.g. "Sounds/engine.wav"
  std::vector<int16_t> samples;
};

// Every sound in a fixed order. The engine's loop holds whole periods of every partial, so it
// repeats without a seam.
std::vector<SoundContent> GameSounds();

}  // namespace content
