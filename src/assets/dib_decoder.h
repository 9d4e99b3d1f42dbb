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
  UnknownFormat,    // the bitmap header is of none of the sizes 12, 40, 52, 56, 64, 108, 124
  ConversionError,  // truncated, inconsistent, unsupported or oversized data
  OutOfMemory,      // the pixel block could not be allocated
};

// Largest width or height accepted.
inline constexpr int32_t kMaxDibDimension = 16384;

// Memory bound. Uncompressed pixel data must be all there before the picture is allocated, so
// it cannot claim more pixels than 8 per byte of the file. A run-length picture may claim at
// most kRunLengthFreePixels, or else kRunLengthPixelsPerByte pixels per byte of its stream:
// plenty for every encoder that writes each pixel in runs of up to 255 (about 127 pixels per
// byte at best), while a few bytes claiming 16384 by 16384 are refused before any allocation.
// So a file under 1 KB never takes more than about 3 MB for its picture.
inline constexpr int64_t kRunLengthFreePixels = 1024 * 1024;
inline constexpr int64_t kRunLengthPixelsPerByte = 256;

// Decodes a whole bitmap file held in memory. On Ok, image holds the picture with a positive
// height (top-down files are turned bottom row first); otherwise image is left empty. Never
// reads outside bytes. maxDimension lowers the size limit (the fuzzer uses it to stay fast).
DibStatus DecodeDib(std::span<const unsigned char> bytes, RgbImage& image,
                    int32_t maxDimension = kMaxDibDimension);
