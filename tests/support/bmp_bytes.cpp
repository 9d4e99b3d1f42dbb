// Hand-built bitmap files for the reader's tests and fuzz seeds.
#include "support/bmp_bytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

namespace testing_support {
namespace {

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

}  // namespace

Bytes BuildDib(const DibSpec& spec) {
  Bytes info;
  Put32(info, spec.headerSize);
  if (spec.headerSize == 12) {
    Put16(info, static_cast<uint32_t>(spec.width));
    Put16(info, static_cast<uint32_t>(spec.height));
    Put16(info, 1);
    Put16(info, spec.bitsPerPixel);
  } else {
    Put32(info, static_cast<uint32_t>(spec.width));
    Put32(info, static_cast<uint32_t>(spec.height));
    Put16(info, 1);
    Put16(info, spec.bitsPerPixel);
    Put32(info, spec.compression);
    Put32(info, 0);     // image size
    Put32(info, 2835);  // 72 dpi
    Put32(info, 2835);
    Put32(info, spec.colorsUsed);
    Put32(info, 0);
  }
  for (uint32_t mask : spec.masks) Put32(info, mask);
  for (const Colour& c : spec.palette) {
    info.insert(info.end(), {c[2], c[1], c[0]});
    if (spec.headerSize != 12) info.push_back(0);
  }

  Bytes file;
  if (spec.fileHeader) {
    const uint32_t offset = static_cast<uint32_t>(14 + info.size());
    file = {'B', 'M'};
    Put32(file, static_cast<uint32_t>(offset + spec.pixelData.size()));
    Put32(file, 0);
    Put32(file, offset);
  }
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), spec.pixelData.begin(), spec.pixelData.end());
  return file;
}

Bytes PadRows(const std::vector<Bytes>& rows) {
  Bytes out;
  for (const Bytes& row : rows) {
    out.insert(out.end(), row.begin(), row.end());
    out.resize(out.size() + (4 - row.size() % 4) % 4, 0);
  }
  return out;
}

std::string WriteTempFile(const std::string& name, const Bytes& bytes) {
  static std::atomic<int> counter{0};
  std::string path = ::testing::TempDir() + "bmp_" + std::to_string(counter++) + "_" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return path;
}

Bytes Gradient24(int32_t width, int32_t height) {
  std::vector<Bytes> rows;
  for (int32_t y = 0; y < height; ++y) {
    Bytes row;
    for (int32_t x = 0; x < width; ++x) {
      row.insert(row.end(), {static_cast<unsigned char>(x * 7 + y),
                             static_cast<unsigned char>(y * 3), static_cast<unsigned char>(x ^ y)});
    }
    rows.push_back(std::move(row));
  }
  return BuildDib(
      {.width = width, .height = height, .bitsPerPixel = 24, .pixelData = PadRows(rows)});
}

}  // namespace testing_support
