// The WAVE reader: a walk over the RIFF chunks, the format checked against what it can decode,
// then every sample converted to 16 bits.
#include "assets/wave_reader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "assets/data_root.h"

namespace {

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatFloat = 3;
constexpr uint16_t FormatExtensible = 0xFFFE;
// The part of the extensible header's sub-format that follows its two-byte format code.
constexpr uint8_t SubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                       0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Get16(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}
uint32_t Get32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct Format {
  uint16_t code = 0;  // FormatPcm or FormatFloat once the extensible header is unwrapped
  int channels = 0;
  uint32_t rate = 0;
  int bits = 0;        // bits a sample takes in the file
  int blockAlign = 0;  // bytes a frame takes in the file
};

bool ParseFormat(const uint8_t* p, uint32_t size, Format& format, std::string& error) {
  if (size < 16) {
    error = "format chunk too short";
    return false;
  }
  format.code = Get16(p);
  format.channels = Get16(p + 2);
  format.rate = Get32(p + 4);
  format.blockAlign = Get16(p + 12);
  format.bits = Get16(p + 14);
  if (format.code == FormatExtensible) {
    if (size < 40 || Get16(p + 16) < 22) {
      error = "extensible format chunk too short";
      return false;
    }
    const int validBits = Get16(p + 18);
    if (validBits > format.bits || std::memcmp(p + 26, SubFormatTail, 14) != 0) {
      error = "unknown extensible sub-format";
      return false;
    }
    format.code = Get16(p + 24);
  }
  const bool pcm = format.code == FormatPcm && (format.bits == 8 || format.bits == 16 ||
                                                format.bits == 24 || format.bits == 32);
  const bool floating = format.code == FormatFloat && format.bits == 32;
  if (!pcm && !floating) {
    error = "unsupported sample format (code " + std::to_string(format.code) + ", " +
            std::to_string(format.bits) + " bits)";
    return false;
  }
  if (format.channels != 1 && format.channels != 2) {
    error = "unsupported channel count " + std::to_string(format.channels);
    return false;
  }
  if (format.rate < 8000 || format.rate > 96000) {
    error = "unsupported sample rate " + std::to_string(format.rate);
    return false;
  }
  if (format.blockAlign != format.channels * format.bits / 8) {
    error = "block size does not match the format";
    return false;
  }
  return true;
}

// A sample of the full 32-bit range to 16 bits, rounded to the nearest, clipped at the top.
int16_t From32(int64_t value) {
  const int64_t rounded = (value + 0x8000) >> 16;
  return int16_t(rounded > 32767 ? 32767 : rounded);
}

int16_t DecodeSample(const uint8_t* p, const Format& format) {
  if (format.code == FormatFloat) {
    float value;
    std::memcpy(&value, p, 4);
    if (!(value == value)) return 0;  // not a number
    const double scaled = std::round(double(value) * 2147483648.0);
    const double clipped =
        scaled > 2147483647.0 ? 2147483647.0 : (scaled < -2147483648.0 ? -2147483648.0 : scaled);
    return From32(int64_t(clipped));
  }
  switch (format.bits) {
    case 8:
      return int16_t((int(p[0]) - 128) * 256);
    case 16:
      return int16_t(Get16(p));
    case 24:
      return From32(
          int64_t(int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24)));
    default:
      return From32(int64_t(int32_t(Get32(p))));
  }
}

}  // namespace

bool DecodeWave(const uint8_t* bytes, size_t size, platform::SoundSamples& sound,
                std::string& error) {
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    error = "not a WAVE file";
    return false;
  }
  Format format;
  bool haveFormat = false;
  size_t at = 12;
  while (size - at >= 8) {
    const uint8_t* chunk = bytes + at;
    const uint32_t length = Get32(chunk + 4);
    at += 8;
    if (length > size - at) {
      error = std::memcmp(chunk, "data", 4) == 0 ? "the samples end early (file truncated)"
                                                 : "a chunk runs past the end of the file";
      return false;
    }
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (!ParseFormat(bytes + at, length, format, error)) return false;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) {
        error = "samples before the format";
        return false;
      }
      const size_t frames = length / size_t(format.blockAlign);
      if (frames == 0) {
        error = "no samples";
        return false;
      }
      const int bytesPerSample = format.bits / 8;
      try {
        sound.samples.assign(frames * size_t(format.channels), 0);
      } catch (const std::bad_alloc&) {
        error = "out of memory";
        return false;
      }
      const uint8_t* p = bytes + at;
      for (int16_t& sample : sound.samples) {
        sample = DecodeSample(p, format);
        p += bytesPerSample;
      }
      sound.rate = int(format.rate);
      sound.channels = format.channels;
      return true;
    }
    // Chunks are padded to an even length.
    at += length;
    if (length % 2 == 1 && at < size) ++at;
  }
  error = haveFormat ? "no samples" : "no format chunk";
  return false;
}

bool ReadWaveFile(const char* fileName, platform::SoundSamples& sound, std::string& error) {
  std::FILE* file = OpenAssetFile(fileName);
  if (file == nullptr) {
    error = "cannot be opened";
    return false;
  }
  // Read up to one byte past the limit: a file that gives it is too large.
  std::vector<uint8_t> bytes;
  bool readFailed = false;
  try {
    bytes.resize(64 << 10);
    size_t used = 0;
    for (;;) {
      if (used == bytes.size()) {
        if (used > kMaxWaveFileBytes) break;
        bytes.resize(std::min(bytes.size() * 2, kMaxWaveFileBytes + 1));
      }
      const size_t got = std::fread(bytes.data() + used, 1, bytes.size() - used, file);
      used += got;
      if (got == 0) {
        readFailed = std::ferror(file) != 0;
        break;
      }
    }
    bytes.resize(used);
  } catch (const std::bad_alloc&) {
    std::fclose(file);
    error = "out of memory";
    return false;
  }
  std::fclose(file);
  if (readFailed) {
    error = "cannot be read";
    return false;
  }
  if (bytes.size() > kMaxWaveFileBytes) {
    error = "larger than " + std::to_string(kMaxWaveFileBytes >> 20) + " MiB";
    return false;
  }
  return DecodeWave(bytes.data(), bytes.size(), sound, error);
}
