// Writes 16-bit PCM WAVE files: used by the content generator, the tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <vector>

namespace formats {

// A plain 44-byte-header WAVE file of interleaved 16-bit samples.
std::vector<uint8_t> EncodeWave16(int rate, int channels, const std::vector<int16_t>& samples);

}  // namespace formats
