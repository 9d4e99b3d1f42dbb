// Bitmaps written by ImageMagick in its common variants, decoded by us and compared pixel by
// pixel with ImageMagick's own decoding of the same file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>

#include "assets/dib_decoder.h"
#include "support/bmp_bytes.h"
#include "support/command_output.h"

namespace {

using testing_support::Bytes;

uint32_t Field(const Bytes& file, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | file.at(at + i);
  return v;
}

// What the decoded picture is held against.
enum class Oracle {
  File,  // ImageMagick's decoding of the same file
  // ImageMagick's decoding of the same picture written uncompressed: its own reader garbles the
  // top rows of its run-length files narrower than 4 pixels.
  UncompressedTwin,
  // ImageMagick's decoding of the file, whose 4-bit channels it widens by shifting (15 becomes
  // 240); we repeat the bits (15 becomes 255).
  FourBitChannels,
};

// ImageMagick's rows of the picture in path, turned bottom row first.
Bytes ImageMagickBottomUp(const std::string& path, int32_t width, int32_t height) {
  const Bytes top = testing_support::CommandOutput("convert " + path + " -depth 8 rgb:-");
  const size_t row = 3 * size_t(width);
  if (top.size() != row * height) return top;
  Bytes rows;
  for (int32_t y = height - 1; y >= 0; --y) {
    rows.insert(rows.end(), top.begin() + long(y * row), top.begin() + long((y + 1) * row));
  }
  return rows;
}

TEST(BmpOracle, EveryImageMagickVariantDecodesAsImageMagickReadsIt) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "ImageMagick's convert is not installed: oracle not run";
  // Source and options, then what the file must turn out to be: header size, bits per pixel,
  // compression (0 none, 1 RLE8, 3 bit fields); then the oracle.
  const std::string gradient = "-size 65x7 gradient:red-blue";
  auto plasma = [](int width) {
    return "-seed 1 -size " + std::to_string(width) + "x40 plasma: -colors 100";
  };
  using enum Oracle;
  const std::tuple<std::string, std::string, uint32_t, int, uint32_t, Oracle> variants[] = {
      {gradient, "BMP:", 124, 24, 0, File},
      {gradient, "BMP3:", 40, 24, 0, File},
      {gradient, "BMP2:", 12, 24, 0, File},
      {"-seed 1 -size 63x9 plasma:", "BMP:", 124, 24, 0, File},
      {gradient + " -type Palette", "BMP:", 124, 4, 0, File},
      {gradient + " -type Palette", "BMP2:", 12, 4, 0, File},
      {"-size 65x7 pattern:checkerboard -type Bilevel", "BMP:", 108, 1, 0, File},
      {"-size 33x20 gradient:white-black -colorspace Gray", "BMP:", 108, 24, 0, File},
      {"-size 33x7 gradient:white-black -type Grayscale -colors 7", "BMP:", 108, 4, 0, File},
      {"-size 33x40 gradient:white-black -type Grayscale -colors 40", "BMP:", 108, 8, 1, File},
      {plasma(65) + " -compress None", "BMP:", 124, 8, 0, File},
      {plasma(1), "BMP:", 124, 8, 1, UncompressedTwin},
      {plasma(2), "BMP:", 124, 8, 1, UncompressedTwin},
      {plasma(63), "BMP:", 124, 8, 1, File},
      {plasma(64), "BMP:", 124, 8, 1, File},
      {plasma(65), "BMP:", 124, 8, 1, File},
      {plasma(65), "BMP3:", 40, 8, 1, File},
      {gradient + " -define bmp:subtype=RGB565", "BMP:", 124, 16, 3, File},
      {gradient + " -define bmp:subtype=RGB555", "BMP:", 124, 16, 3, File},
      {gradient + " -alpha on -define bmp:subtype=ARGB4444", "BMP:", 124, 16, 3, FourBitChannels},
      {gradient + " -alpha on -define bmp:subtype=ARGB1555", "BMP:", 124, 16, 3, File},
      {gradient + " -alpha on", "BMP:", 124, 32, 3, File},
  };
  const std::string path = testing_support::WriteTempFile("oracle.bmp", {});
  const std::string twin = testing_support::WriteTempFile("oracle_twin.bmp", {});
  for (const auto& [source, format, headerSize, bits, compression, oracle] : variants) {
    const std::string what = source + " " + format;
    ASSERT_EQ(std::system(("convert " + source + " " + format + path).c_str()), 0) << what;
    const Bytes file = testing_support::ReadBytes(path);
    const bool core = Field(file, 14, 4) == 12;
    ASSERT_EQ(std::tuple(Field(file, 14, 4), Field(file, core ? 24 : 28, 2),
                         core ? 0 : Field(file, 30, 4)),
              std::tuple(headerSize, uint32_t(bits), compression))
        << what;
    RgbImage image;
    ASSERT_EQ(DecodeDib(file, image), DibStatus::Ok) << what;
    if (oracle == UncompressedTwin) {
      ASSERT_EQ(std::system(("convert " + source + " -compress None " + format + twin).c_str()), 0);
    }
    Bytes expected =
        ImageMagickBottomUp(oracle == UncompressedTwin ? twin : path, image.width, image.height);
    if (oracle == FourBitChannels) {
      for (unsigned char& c : expected) c = static_cast<unsigned char>(c >> 4 | (c & 0xF0));
    }
    ASSERT_EQ(image.pixels.size(), expected.size()) << what;
    const auto ours =
        std::mismatch(image.pixels.begin(), image.pixels.end(), expected.begin()).first;
    const size_t at = size_t(ours - image.pixels.begin()) / 3;
    EXPECT_TRUE(ours == image.pixels.end()) << what << ": pixel " << at % image.width << ", "
                                            << at / image.width << " (from the bottom)";
  }
  std::remove(twin.c_str());
  std::remove(path.c_str());
}

}  // namespace
