// The game's sounds, synthesized: each car's two engine loops, the off-road rumble, the
// countdown, hits, nitro, crash, laps, finish, new best and the menu clicks, as mono 16-bit
// samples, each brought to the loudness of its kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace content {

// Tones and engines are made at ToneRate; sounds made mostly of noise at NoiseRate, so that
// their top octave is kept.
constexpr int ToneRate = 22050, NoiseRate = 44100;
// No sound's true peak goes above this (dBFS).
constexpr double SoundPeakCeiling = -1.5;

struct SoundContent {
  std::string file;  // name inside Data/, e.g. "Sounds/engine.wav"
  std::vector<int16_t> samples;
  int rate = ToneRate;
  double target = 0;   // loudness of its kind: its loudest 400 ms (a loop: repeating), in LUFS
  bool loop = false;   // played as a loop: its end runs into its start without a seam
  double firings = 0;  // an engine loop: its firings a second
};

// Every sound in a fixed order.
std::vector<SoundContent> GameSounds();

}  // namespace content
