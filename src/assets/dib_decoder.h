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
// it cannot claim more pixels than 8 per byte of the file. A run-length stream is walked before
// the picture is allocated, and a picture of over kRunLengthFreePixels must have at least one
// pixel in kRunLengthPixelsPerCovered written by its runs (pixels skipped by end of line, delta
// or an early end of bitmap stay black but are not written). Every encoder that writes each
// pixel in runs meets this; bytes after the end of the stream count for nothing. A run writes
// at most 255 pixels for every 2 bytes, so a run-length file of N bytes decodes to at most
// max(1 Mi, 255 * N) pixels: at most max(3 MiB, 765 * N) bytes for its picture.
inline constexpr int64_t kRunLengthFreePixels = 1024 * 1024;
inline constexpr int64_t kRunLengthPixelsPerCovered = 2;

// Reading bound. The first kDibHeaderBytes hold every header, mask and colour table. From them
// DibReadLimit gives how much of the file the picture they describe can use: the pixel offset
// plus the rows of an uncompressed picture, or two bytes a pixel of each row for a run-length
// one. Bytes past it are never read. A header that is not a picture's, or a pixel offset more
// than kDibPixelGap past the largest colour table, gives the header's own size.
inline constexpr size_t kDibHeaderBytes = 14 + 124 + 12 + 256 * 4;
inline constexpr size_t kDibPixelGap = 64 * 1024;
size_t DibReadLimit(std::span<const unsigned char> header);

// Decodes a whole bitmap file held in memory. On Ok, image holds the picture with a positive
// height (top-down files are turned bottom row first); otherwise image is left empty. Never
// reads outside bytes. maxDimension lowers the size limit (the fuzzer uses it to stay fast).
DibStatus DecodeDib(std::span<const unsigned char> bytes, RgbImage& image,
                    int32_t maxDimension = kMaxDibDimension);

// What DecodeDib would give for the bytes, short of memory, without decoding a pixel: on Ok the
// picture's width and height (positive). For a check that keeps no picture.
DibStatus CheckDib(std::span<const unsigned char> bytes, int32_t& width, int32_t& height,
                   int32_t maxDimension = kMaxDibDimension);
