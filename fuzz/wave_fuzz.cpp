// Fuzzes the WAVE decoder with arbitrary bytes: it must refuse or decode, never read past them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/wave_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::SoundSamples sound;
  std::string error;
  if (DecodeWave(data, size, sound, error)) {
    if (sound.samples.empty() || (sound.channels != 1 && sound.channels != 2) ||
        sound.samples.size() % size_t(sound.channels) != 0 || sound.rate < 8000 ||
        sound.rate > 96000)
      std::abort();
  } else if (error.empty()) {
    std::abort();
  }
  return 0;
}
