// Decodes the bytes of a Windows bitmap (with or without its "BM" file header) into packed RGB.
// Pure and GL-free: the file reader, the tests and the fuzzer call it directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A decoded picture: 3 bytes (red, green, blue) per pixel, rows of exactly 3 * width bytes,
// bottom row first.
struct RgbImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<unsigned char> pixels;
};

enum class DibStatus {
  Ok,
  UnknownFormat,    // the bitmap header is neither the 12-byte nor the 40-byte kind
  ConversionError,  // truncated, inconsistent, unsupported or oversized data
  OutOfMemory,      // the pixel block could not be allocated
};

// Largest width or height accepted.
inline constexpr int32_t kMaxDibDimension = 16384;

// Decodes a whole bitmap file held in memory. On Ok, image holds the picture with a positive
// height (top-down files are turned bottom row first); otherwise image is left empty. Never
// reads outside bytes. maxDimension lowers the size limit (the fuzzer uses it to stay fast).
DibStatus DecodeDib(std::span<const unsigned char> bytes, RgbImage& image,
                    int32_t maxDimension = kMaxDibDimension);
