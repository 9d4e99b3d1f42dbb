// Hand-built bitmap files for the reader's tests: every header kind, with pixel data, masks and
// colour tables written as given, so odd and hostile files can be made too.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formats/bmp_writer.h"

namespace testing_support {

using Bytes = std::vector<unsigned char>;
using Colour = std::array<unsigned char, 3>;  // red, green, blue

struct DibSpec {
  bool fileHeader = true;    // the 14-byte "BM" header, with the pixel offset filled in
  uint32_t headerSize = 40;  // 12: the old-style header; others: the 40-byte fields, then 0xEE
                             // filler up to this size (masks in it from byte 40 when asked)
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bitsPerPixel = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks = {};  // written right after the header (bit fields)
  std::vector<Colour> palette = {};  // 4-byte entries (3-byte in the old style)
  Bytes pixelData = {};
  bool masksInHeader = false;  // masks at the header's byte 40 instead of after it
};

inline void PutLittleEndian(Bytes& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<unsigned char>(v >> 8 * i));
}

inline Bytes BuildDib(const DibSpec& s) {
  const bool core = s.headerSize == 12;
  Bytes info;
  PutLittleEndian(info, s.headerSize, 4);
  PutLittleEndian(info, static_cast<uint32_t>(s.width), core ? 2 : 4);
  PutLittleEndian(info, static_cast<uint32_t>(s.height), core ? 2 : 4);
  PutLittleEndian(info, 1 | s.bitsPerPixel << 16, 4);  // one plane, then the depth
  if (!core) {
    for (uint32_t v : {s.compression, 0u, 2835u, 2835u, s.colorsUsed, 0u}) {
      PutLittleEndian(info, v, 4);
    }
  }
  const size_t filled = info.size();
  if (s.masksInHeader) {
    for (uint32_t mask : s.masks) PutLittleEndian(info, mask, 4);
  }
  if (s.headerSize > filled) info.resize(s.headerSize, 0xEE);
  if (!s.masksInHeader) {
    for (uint32_t mask : s.masks) PutLittleEndian(info, mask, 4);
  }
  for (const Colour& c : s.palette) {
    info.insert(info.end(), {c[2], c[1], c[0]});
    if (!core) info.push_back(0);
  }
  Bytes file;
  if (s.fileHeader) {
    const auto offset = static_cast<uint32_t>(14 + info.size());
    file = {'B', 'M'};
    for (size_t v : {offset + s.pixelData.size(), size_t{0}, size_t{offset}}) {
      PutLittleEndian(file, static_cast<uint32_t>(v), 4);
    }
  }
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixelData.begin(), s.pixelData.end());
  return file;
}

// Writes bytes to a file of this name (unique to the process) in the test temporary folder and
// returns its path.
inline std::string WriteTempFile(const std::string& name, const Bytes& bytes) {
  std::string path = ::testing::TempDir() + "quillon_" + std::to_string(getpid()) + "_" + name;
  formats::WriteBytesToFile(path, bytes);
  return path;
}

// The whole of a file; empty when it cannot be read.
inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testing_support
