// Hand-built bitmap files for the reader's tests and fuzz seeds: every header kind,
// raw pixel data, masks and colour tables as given, so odd and hostile files can be made too.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<unsigned char>;
using Colour = std::array<unsigned char, 3>;  // red, green, blue

struct DibSpec {
  bool fileHeader = true;    // the 14-byte "BM" header, with the pixel offset filled in
  uint32_t headerSize = 40;  // 12 writes the old-style header; anything else a 40-byte one
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks = {};  // written right after the header (bit fields)
  std::vector<Colour> palette = {};  // written as 4-byte (or 3-byte old-style) entries
  Bytes pixelData = {};              // written as given
};

Bytes BuildDib(const DibSpec& spec);

// Stored rows of an uncompressed picture, each padded to 4 bytes.
Bytes PadRows(const std::vector<Bytes>& rows);

// Writes bytes to a fresh file under the test temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const Bytes& bytes);

// A deterministic 24-bit file of the given size whose pixels vary across the picture.
Bytes Gradient24(int32_t width, int32_t height);

}  // namespace testing_support
