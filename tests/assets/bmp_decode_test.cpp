// Decoding of every accepted pixel format and header kind into packed RGB, bottom row first, and
// the refusal of files that are cut short, oversized or inconsistent.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "assets/dib_decoder.h"
#include "support/bmp_bytes.h"

namespace {

using testing_support::BuildDib;
using testing_support::Bytes;
using testing_support::Colour;
using testing_support::DibSpec;

const std::vector<Colour> kPalette = {{10, 20, 30}, {200, 100, 50}, {0, 255, 0}, {1, 2, 3}};
constexpr DibStatus kBad = DibStatus::ConversionError;

// RGB bytes of these entries of kPalette; -1 is black.
Bytes Colours(std::initializer_list<int> indices) {
  Bytes rgb;
  for (int i : indices) {
    Colour c = i < 0 ? Colour{0, 0, 0} : kPalette[i];
    rgb.insert(rgb.end(), c.begin(), c.end());
  }
  return rgb;
}

// A picture through the 4 colours of kPalette.
DibSpec Indexed(int32_t width, int32_t height, uint16_t bits, uint32_t compression, Bytes data) {
  return {.width = width,
          .height = height,
          .bitsPerPixel = bits,
          .compression = compression,
          .colorsUsed = 4,
          .palette = kPalette,
          .pixelData = std::move(data)};
}

DibSpec Rle8(Bytes data) {
  return Indexed(4, 2, 8, 1, std::move(data));
}

DibSpec Fields(uint16_t bits, std::vector<uint32_t> masks, Bytes data, bool fileHeader = true) {
  return {.fileHeader = fileHeader,
          .bitsPerPixel = bits,
          .compression = 3,
          .masks = std::move(masks),
          .pixelData = std::move(data)};
}

// The status of decoding bytes; a refused file must leave no picture behind.
DibStatus Status(const Bytes& file, RgbImage& image) {
  image = {1, 1, {1, 2, 3}};
  DibStatus status = DecodeDib(file, image);
  if (status != DibStatus::Ok) {
    EXPECT_TRUE(image.pixels.empty() && image.width == 0);
  }
  return status;
}

TEST(BmpDecode, EveryPixelFormatGivesItsRgbBytes) {
  std::vector<Colour> full(256, Colour{9, 9, 9});
  full[0] = kPalette[0];
  full[255] = {7, 8, 9};
  const std::vector<Colour> two = {kPalette[0], kPalette[1]};
  const std::tuple<const char*, DibSpec, Bytes> cases[] = {
      {"24 bits, rows padded to 4 bytes",
       {.width = 3, .height = 2, .pixelData = {1,  2,  3,  4,  5,  6,  7,  8,  9,  0, 0, 0,
                                               11, 12, 13, 14, 15, 16, 17, 18, 19, 0, 0, 0}},
       {3, 2, 1, 6, 5, 4, 9, 8, 7, 13, 12, 11, 16, 15, 14, 19, 18, 17}},
      {"1 bit, high bit first",
       {.width = 3, .bitsPerPixel = 1, .palette = two, .pixelData = {0xA0, 0, 0, 0}},
       Colours({1, 0, 1})},
      {"4 bits, high nibble first", Indexed(3, 1, 4, 0, {0x12, 0x30, 0, 0}), Colours({1, 2, 3})},
      {"8 bits, colours used 0 is a full table",
       {.width = 2, .bitsPerPixel = 8, .palette = full, .pixelData = {255, 0, 0, 0}},
       {7, 8, 9, 10, 20, 30}},
      {"8 bits, index past a short table is black", Indexed(2, 1, 8, 0, {1, 200, 0, 0}),
       Colours({1, -1})},
      // 0x7FFF, 0, then red 10000 -> 10000100, green 00001 -> 00001000, blue 11111.
      {"16 bits 5-5-5, channels widened by repeating their top bits",
       {.width = 3, .bitsPerPixel = 16, .pixelData = {0xFF, 0x7F, 0, 0, 0x3F, 0x40, 0, 0}},
       {255, 255, 255, 0, 0, 0, 0x84, 0x08, 0xFF}},
      {"32 bits, fourth byte ignored",
       {.width = 2, .bitsPerPixel = 32, .pixelData = {1, 2, 3, 99, 4, 5, 6, 0}},
       {3, 2, 1, 6, 5, 4}},
      {"bit fields 5-6-5: green 000001 widens to 00000100",
       Fields(16, {0xF800, 0x07E0, 0x001F}, {0x20, 0xF8, 0, 0}),
       {255, 4, 0}},
      {"bit fields 32, packed: red low, 10-bit blue at the top narrowed to 8",
       Fields(32, {0xFF, 0xFF00, 0xFFC00000}, {0x11, 0x22, 0x00, 0xFF}, false),
       {0x11, 0x22, 0xFF}},
      {"packed 24 bits: pixels follow an optional colour table",
       {.fileHeader = false, .colorsUsed = 2, .palette = two, .pixelData = {1, 2, 3, 0}},
       {3, 2, 1}},
      {"top-down: stored top row first",
       {.height = -2, .pixelData = {2, 2, 2, 0, 1, 1, 1, 0}},
       {1, 1, 1, 2, 2, 2}},
      // Run, padded absolute run, end of line; run, delta (2, 1), run, end of bitmap.
      {"RLE8 runs, absolute run, end of line, delta; skipped pixels black",
       Indexed(5, 3, 8, 1, {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 1, 2, 0, 2, 2, 1, 1, 3, 0, 1}),
       Colours({1, 1, 1, 2, 3, 2, -1, -1, -1, -1, -1, -1, -1, 3, -1})},
      {"RLE8 every row closed by end of line, no end of bitmap", Rle8({4, 1, 0, 0, 4, 2, 0, 0}),
       Colours({1, 1, 1, 1, 2, 2, 2, 2})},
      {"RLE4 run alternating nibbles, absolute nibbles padded to 16 bits",
       Indexed(7, 1, 4, 2, {3, 0x12, 0, 3, 0x30, 0x10, 1, 0x30, 0, 1}),
       Colours({1, 2, 1, 3, 0, 1, 3})},
  };
  for (const auto& [what, spec, rgb] : cases) {
    RgbImage image;
    ASSERT_EQ(Status(BuildDib(spec), image), DibStatus::Ok) << what;
    EXPECT_EQ(image.width, spec.width) << what;
    EXPECT_EQ(image.height, std::abs(spec.height)) << what;
    EXPECT_EQ(image.pixels, rgb) << what;
  }
}

TEST(BmpDecode, OldStyleHeaderAndStoredOffsetGiveTheSamePicture) {
  DibSpec spec = Indexed(3, 2, 4, 0, {0x01, 0x20, 0, 0, 0x33, 0x10, 0, 0});
  spec.colorsUsed = 0;
  spec.palette.resize(16, Colour{5, 6, 7});
  for (bool fileHeader : {true, false}) {
    spec.fileHeader = fileHeader;
    for (uint32_t headerSize : {40u, 12u}) {
      spec.headerSize = headerSize;
      RgbImage image;
      ASSERT_EQ(Status(BuildDib(spec), image), DibStatus::Ok) << headerSize;
      EXPECT_EQ(image.pixels, Colours({0, 1, 2, 3, 3, 1})) << headerSize << fileHeader;
    }
  }
  // The file header's pixel offset is used, whatever lies before it.
  Bytes file = BuildDib({.pixelData = {0, 0, 0, 0, 4, 5, 6, 0}});
  file[10] += 4;
  RgbImage image;
  ASSERT_EQ(Status(file, image), DibStatus::Ok);
  EXPECT_EQ(image.pixels, (Bytes{6, 5, 4}));
}

TEST(BmpDecode, RefusesUnknownHeadersAndEveryUnsafeFile) {
  const Bytes row16385(3 * 16385 + 1), rows16385(4 * 16385);
  Bytes farOffset = BuildDib({.pixelData = {1, 2, 3, 0}});
  farOffset[12] = 1;
  const std::tuple<const char*, Bytes, DibStatus> cases[] = {
      {"108-byte header", BuildDib({.headerSize = 108}), DibStatus::UnknownFormat},
      {"124-byte header", BuildDib({.headerSize = 124}), DibStatus::UnknownFormat},
      {"0-byte header", BuildDib({.headerSize = 0}), DibStatus::UnknownFormat},
      {"width 0", BuildDib({.width = 0}), kBad},
      {"width -1", BuildDib({.width = -1, .pixelData = Bytes(64)}), kBad},
      {"height 0", BuildDib({.height = 0}), kBad},
      {"width 16384 is allowed", BuildDib({.width = 16384, .pixelData = row16385}), DibStatus::Ok},
      {"width 16385", BuildDib({.width = 16385, .pixelData = row16385}), kBad},
      {"height 16385", BuildDib({.height = 16385, .pixelData = rows16385}), kBad},
      {"height -16385", BuildDib({.height = -16385, .pixelData = rows16385}), kBad},
      {"height INT32_MIN", BuildDib({.height = INT32_MIN, .pixelData = rows16385}), kBad},
      {"width INT32_MIN", BuildDib({.width = INT32_MIN, .pixelData = rows16385}), kBad},
      {"16384 square with 4 bytes of pixels", BuildDib({.width = 16384, .height = 16384}), kBad},
      {"2 bits", BuildDib({.bitsPerPixel = 2, .pixelData = Bytes(4)}), kBad},
      {"0 bits", BuildDib({.bitsPerPixel = 0, .pixelData = Bytes(4)}), kBad},
      {"embedded JPEG", BuildDib({.compression = 4, .pixelData = Bytes(4)}), kBad},
      {"bit fields at 24 bits", BuildDib(Fields(24, {0xFF, 0xFF00, 0xFF0000}, Bytes(4))), kBad},
      {"scattered mask", BuildDib(Fields(16, {0xF00F, 0x07E0, 0x001F}, Bytes(4))), kBad},
      {"bit fields without masks", BuildDib(Fields(32, {}, {}, false)), kBad},
      {"colour table past the end",
       BuildDib({.fileHeader = false, .bitsPerPixel = 8, .palette = {kPalette[0]}}), kBad},
      {"pixel offset past the end", farOffset, kBad},
      {"RLE4 at 8 bits", BuildDib({.bitsPerPixel = 8, .compression = 2, .pixelData = {0, 1}}),
       kBad},
      {"RLE8 at 4 bits", BuildDib({.bitsPerPixel = 4, .compression = 1, .pixelData = {0, 1}}),
       kBad},
      {"run filling the row", BuildDib(Rle8({4, 1, 0, 1})), DibStatus::Ok},
      {"run past the row", BuildDib(Rle8({5, 1, 0, 1})), kBad},
      {"second run past the row", BuildDib(Rle8({2, 1, 3, 1, 0, 1})), kBad},
      {"absolute run past the row", BuildDib(Rle8({0, 5, 1, 2, 3, 0, 0, 0, 0, 1})), kBad},
      {"absolute run cut short", BuildDib(Rle8({0, 4, 1, 2})), kBad},
      {"delta past the row", BuildDib(Rle8({0, 2, 5, 0, 0, 1})), kBad},
      {"delta past the top", BuildDib(Rle8({0, 2, 0, 2, 0, 1})), kBad},
      {"delta cut short", BuildDib(Rle8({0, 2, 1})), kBad},
      {"run above the top", BuildDib(Rle8({0, 0, 0, 0, 1, 1, 0, 1})), kBad},
      {"data ending mid-picture", BuildDib(Rle8({4, 1, 0, 0})), kBad},
      {"no run-length data", BuildDib(Rle8({})), kBad},
  };
  for (const auto& [what, file, status] : cases) {
    RgbImage image;
    EXPECT_EQ(Status(file, image), status) << what;
  }
}

TEST(BmpDecode, EveryTruncationOfAGoodFileIsRefused) {
  DibSpec old = {.fileHeader = false,
                 .headerSize = 12,
                 .width = 2,
                 .bitsPerPixel = 8,
                 .palette = std::vector<Colour>(256),
                 .pixelData = {1, 2, 0, 0}};
  for (const Bytes& good :
       {BuildDib({.width = 3, .height = 2, .pixelData = Bytes(24, 7)}), BuildDib(old),
        BuildDib(Indexed(3, 2, 8, 1, {3, 1, 0, 0, 3, 2, 0, 1}))}) {
    RgbImage image;
    ASSERT_EQ(Status(good, image), DibStatus::Ok);
    for (size_t length = 0; length < good.size(); ++length) {
      EXPECT_EQ(Status(Bytes(good.begin(), good.begin() + length), image), kBad) << length;
    }
  }
}

}  // namespace
