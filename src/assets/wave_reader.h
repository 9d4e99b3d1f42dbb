// Reads WAVE sound files into 16-bit samples: PCM of 8, 16, 24 and 32 bits and 32-bit float,
// mono or stereo, 8 to 96 kHz, plain or extensible header. GL-free, for the game and its tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sound_system.h"

// The largest WAVE file read: 4 MiB, about 23 seconds of 16-bit stereo at 44.1 kHz. A sound of
// the game is a few seconds; anything larger is refused before its samples are decoded.
constexpr size_t kMaxWaveFileBytes = 4 << 20;

// Decodes the bytes of a whole WAVE file. Chunks other than "fmt " and "data" are skipped (an
// odd-sized chunk with its pad byte); the data chunk must hold every byte its header claims.
// Samples become 16-bit, rounded to the nearest. False with a short reason on any fault.
bool DecodeWave(const uint8_t* bytes, size_t size, platform::SoundSamples& sound,
                std::string& error);

// Reads and decodes a WAVE file through the asset opener (a relative name under the data root).
// False with a reason when the file is missing, unreadable, larger than kMaxWaveFileBytes or
// not a WAVE file the decoder takes.
bool ReadWaveFile(const char* fileName, platform::SoundSamples& sound, std::string& error);
