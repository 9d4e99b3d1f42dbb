// Decoding of every accepted pixel format and header kind into packed RGB, bottom row first.
#include <gtest/gtest.h>

#include "assets/dib_decoder.h"
#include "support/bmp_bytes.h"

namespace {

using testing_support::BuildDib;
using testing_support::Bytes;
using testing_support::Colour;
using testing_support::DibSpec;
using testing_support::PadRows;

RgbImage Decode(const Bytes& file) {
  RgbImage image;
  EXPECT_EQ(DecodeDib(file, image), DibStatus::Ok);
  return image;
}

DibStatus Status(const Bytes& file) {
  RgbImage image;
  DibStatus status = DecodeDib(file, image);
  if (status != DibStatus::Ok) {
    EXPECT_TRUE(image.pixels.empty());
  }
  return status;
}

const std::vector<Colour> kPalette = {{10, 20, 30}, {200, 100, 50}, {0, 255, 0}, {1, 2, 3}};

TEST(BmpDecodeUncompressed, Rgb24DropsRowPaddingAndSwapsToRgb) {
  // 3 by 2: each stored row is 9 bytes plus 3 of padding.
  Bytes pixels = PadRows({{1, 2, 3, 4, 5, 6, 7, 8, 9}, {11, 12, 13, 14, 15, 16, 17, 18, 19}});
  RgbImage image = Decode(BuildDib({.width = 3, .height = 2, .pixelData = pixels}));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 13, 12, 11, 16, 15, 14, 19, 18, 17}));

  // 4 wide: rows are unpadded and come out byte-swapped only.
  Bytes row(12);
  for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<unsigned char>(i + 1);
  image = Decode(BuildDib({.width = 4, .height = 1, .pixelData = row}));
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

TEST(BmpDecodeUncompressed, IndexedDepthsGoThroughTheColourTable) {
  // 8 bits, colours-used 0 means a full table of 256 entries.
  std::vector<Colour> full(256, Colour{9, 9, 9});
  full[0] = {10, 20, 30};
  full[255] = {7, 8, 9};
  RgbImage image = Decode(BuildDib(
      {.width = 2, .height = 1, .bitsPerPixel = 8, .palette = full, .pixelData = {255, 0, 0, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{7, 8, 9, 10, 20, 30}));

  // 4 bits, 3 wide: high nibble first.
  image = Decode(BuildDib({.width = 3,
                           .height = 1,
                           .bitsPerPixel = 4,
                           .colorsUsed = 4,
                           .palette = kPalette,
                           .pixelData = {0x12, 0x30, 0, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{200, 100, 50, 0, 255, 0, 1, 2, 3}));
}

TEST(BmpDecodeUncompressed, IndexBeyondAShortColourTableIsBlack) {
  RgbImage image = Decode(BuildDib({.width = 2,
                                    .height = 1,
                                    .bitsPerPixel = 8,
                                    .colorsUsed = 2,
                                    .palette = {kPalette[0], kPalette[1]},
                                    .pixelData = {1, 200, 0, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{200, 100, 50, 0, 0, 0}));
}

TEST(BmpDecodeUncompressed, SixteenBitsWidenFiveBitChannelsByRepeatingTopBits) {
  // 0x7FFF white, 0x0000 black, red 0x10 (binary 10000 -> 10000100), green 1, blue 0x1F.
  uint16_t mixed = 0x10 << 10 | 0x01 << 5 | 0x1F;
  Bytes data = {0xFF,
                0x7F,
                0x00,
                0x00,
                static_cast<unsigned char>(mixed),
                static_cast<unsigned char>(mixed >> 8),
                0,
                0};
  RgbImage image =
      Decode(BuildDib({.width = 3, .height = 1, .bitsPerPixel = 16, .pixelData = data}));
  EXPECT_EQ(image.pixels, (Bytes{255, 255, 255, 0, 0, 0, 0x84, 0x08, 0xFF}));
}

TEST(BmpDecodeUncompressed, ThirtyTwoBitsIgnoreTheFourthByte) {
  RgbImage image = Decode(BuildDib(
      {.width = 2, .height = 1, .bitsPerPixel = 32, .pixelData = {1, 2, 3, 99, 4, 5, 6, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST(BmpDecodeBitFields, MasksSelectAndWidenTheChannels) {
  // 5-6-5: red 31 -> 255, green 1 -> 4 (000001 -> 00000100), blue 0.
  uint16_t p = 31 << 11 | 1 << 5;
  RgbImage image = Decode(BuildDib(
      {.width = 1,
       .height = 1,
       .bitsPerPixel = 16,
       .compression = 3,
       .masks = {0xF800, 0x07E0, 0x001F},
       .pixelData = {static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 8), 0, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{255, 4, 0}));

  // 32 bits with red in the low byte and 10-bit blue at the top (narrowed to its top 8 bits).
  uint32_t q = 0x11 | 0x22 << 8 | 0x3FCu << 22;
  image = Decode(BuildDib(
      {.width = 1,
       .height = 1,
       .bitsPerPixel = 32,
       .compression = 3,
       .masks = {0x000000FF, 0x0000FF00, 0xFFC00000},
       .pixelData = {static_cast<unsigned char>(q), static_cast<unsigned char>(q >> 8),
                     static_cast<unsigned char>(q >> 16), static_cast<unsigned char>(q >> 24)}}));
  EXPECT_EQ(image.pixels, (Bytes{0x11, 0x22, 0xFF}));

  // A packed file: the pixels follow the masks.
  image = Decode(BuildDib({.fileHeader = false,
                           .width = 1,
                           .height = 1,
                           .bitsPerPixel = 32,
                           .compression = 3,
                           .masks = {0xFF0000, 0xFF00, 0xFF},
                           .pixelData = {1, 2, 3, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1}));
}

TEST(BmpDecodeBitFields, RefusesScatteredMasksAndMissingMasks) {
  EXPECT_EQ(Status(BuildDib({.width = 1,
                             .height = 1,
                             .bitsPerPixel = 16,
                             .compression = 3,
                             .masks = {0xF00F, 0x07E0, 0x001F},
                             .pixelData = {0, 0, 0, 0}})),
            DibStatus::ConversionError);
  Bytes noMasks = BuildDib({.fileHeader = false, .bitsPerPixel = 32, .compression = 3});
  EXPECT_EQ(Status(noMasks), DibStatus::ConversionError);
}

TEST(BmpDecodeRunLength, Rle8RunsAbsoluteRunsLineEndsAndDelta) {
  // 5 by 3. Row 0: run of 2 index 1, absolute run of 3 (1, 2, 3) padded to 4 bytes.
  // End of line. Row 1: run of 1 index 2, then a delta right 2 and up 1 to (3, 2), run of 1
  // index 3, end of bitmap. Skipped pixels stay black.
  Bytes data = {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 1, 2, 0, 2, 2, 1, 1, 3, 0, 1};
  RgbImage image = Decode(BuildDib({.width = 5,
                                    .height = 3,
                                    .bitsPerPixel = 8,
                                    .compression = 1,
                                    .colorsUsed = 4,
                                    .palette = kPalette,
                                    .pixelData = data}));
  const Colour black{0, 0, 0};
  std::vector<Colour> expected = {kPalette[1], kPalette[1], kPalette[1], kPalette[2], kPalette[3],
                                  kPalette[2], black,       black,       black,       black,
                                  black,       black,       black,       kPalette[3], black};
  Bytes flat;
  for (const Colour& c : expected) flat.insert(flat.end(), c.begin(), c.end());
  EXPECT_EQ(image.pixels, flat);
}

TEST(BmpDecodeRunLength, Rle4AlternatesNibblesInRunsAndReadsAbsoluteNibbles) {
  // 7 by 1: a run of 3 alternating 1 and 2, then an absolute run of 3 nibbles (3, 0, 1) in two
  // bytes padded to 16 bits, then one more run of 1, end of bitmap.
  Bytes data = {3, 0x12, 0, 3, 0x30, 0x10, 1, 0x30, 0, 1};
  RgbImage image = Decode(BuildDib({.width = 7,
                                    .height = 1,
                                    .bitsPerPixel = 4,
                                    .compression = 2,
                                    .colorsUsed = 4,
                                    .palette = kPalette,
                                    .pixelData = data}));
  std::vector<int> indices = {1, 2, 1, 3, 0, 1, 3};
  Bytes flat;
  for (int i : indices) flat.insert(flat.end(), kPalette[i].begin(), kPalette[i].end());
  EXPECT_EQ(image.pixels, flat);
}

TEST(BmpDecodeRunLength, RefusesRunsLeavingTheRowOrPictureAndUnfinishedData) {
  auto rle8 = [](Bytes data) {
    return Status(BuildDib({.width = 4,
                            .height = 2,
                            .bitsPerPixel = 8,
                            .compression = 1,
                            .colorsUsed = 4,
                            .palette = kPalette,
                            .pixelData = std::move(data)}));
  };
  EXPECT_EQ(rle8({4, 1, 0, 1}), DibStatus::Ok);
  EXPECT_EQ(rle8({5, 1, 0, 1}), DibStatus::ConversionError);        // run past the row
  EXPECT_EQ(rle8({2, 1, 3, 1, 0, 1}), DibStatus::ConversionError);  // second run past it
  EXPECT_EQ(rle8({0, 5, 1, 2, 3, 0, 0, 0, 0, 1}), DibStatus::ConversionError);  // absolute
  EXPECT_EQ(rle8({0, 4, 1, 2}), DibStatus::ConversionError);              // absolute cut short
  EXPECT_EQ(rle8({0, 2, 5, 0, 0, 1}), DibStatus::ConversionError);        // delta past the row
  EXPECT_EQ(rle8({0, 2, 0, 2, 0, 1}), DibStatus::ConversionError);        // delta past the top
  EXPECT_EQ(rle8({0, 2, 1}), DibStatus::ConversionError);                 // delta cut short
  EXPECT_EQ(rle8({0, 0, 0, 0, 1, 1, 0, 1}), DibStatus::ConversionError);  // run above the top
  EXPECT_EQ(rle8({4, 1, 0, 0}), DibStatus::ConversionError);              // ends mid-picture
  EXPECT_EQ(rle8({}), DibStatus::ConversionError);
  // Every row closed by an end of line: the picture is complete without end of bitmap.
  EXPECT_EQ(rle8({4, 1, 0, 0, 4, 2, 0, 0}), DibStatus::Ok);
  // Run-length data only at the depth it belongs to.
  EXPECT_EQ(Status(BuildDib({.bitsPerPixel = 4, .compression = 1, .pixelData = {0, 1}})),
            DibStatus::ConversionError);
  EXPECT_EQ(Status(BuildDib({.bitsPerPixel = 8, .compression = 2, .pixelData = {0, 1}})),
            DibStatus::ConversionError);
}

TEST(BmpDecodeLayout, TopDownPictureComesOutBottomRowFirst) {
  Bytes bottom = PadRows({{1, 1, 1}}), top = PadRows({{2, 2, 2}});
  Bytes up = bottom, down = top;
  up.insert(up.end(), top.begin(), top.end());
  down.insert(down.end(), bottom.begin(), bottom.end());
  RgbImage a = Decode(BuildDib({.width = 1, .height = 2, .pixelData = up}));
  RgbImage b = Decode(BuildDib({.width = 1, .height = -2, .pixelData = down}));
  EXPECT_EQ(b.height, 2);
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_EQ(a.pixels, (Bytes{1, 1, 1, 2, 2, 2}));
}

TEST(BmpDecodeLayout, OldStyleHeaderGivesTheSamePictureAsItsStandardTwin) {
  DibSpec spec{.width = 3,
               .height = 2,
               .bitsPerPixel = 4,
               .palette = std::vector<Colour>(16, Colour{5, 6, 7}),
               .pixelData = PadRows({{0x01, 0x20}, {0x33, 0x10}})};
  for (int i = 0; i < 4; ++i) spec.palette[i] = kPalette[i];
  for (bool fileHeader : {true, false}) {
    spec.fileHeader = fileHeader;
    spec.headerSize = 40;
    RgbImage standard = Decode(BuildDib(spec));
    spec.headerSize = 12;
    RgbImage old = Decode(BuildDib(spec));
    EXPECT_EQ(old.width, 3);
    EXPECT_EQ(old.height, 2);
    EXPECT_EQ(old.pixels, standard.pixels);
    EXPECT_EQ(Bytes(old.pixels.begin(), old.pixels.begin() + 3), (Bytes{10, 20, 30}));
  }
}

TEST(BmpDecodeLayout, PackedBitmapPixelsFollowHeaderAndColourTable) {
  // A 24-bit picture with an optional colour table of 2 entries: the pixels come after it.
  RgbImage image = Decode(BuildDib({.fileHeader = false,
                                    .colorsUsed = 2,
                                    .palette = {kPalette[0], kPalette[1]},
                                    .pixelData = {1, 2, 3, 0}}));
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1}));
  // With a file header the stored offset is used, whatever lies between.
  Bytes file = BuildDib({.pixelData = {0, 0, 0, 0, 4, 5, 6, 0}});
  file[10] += 4;
  EXPECT_EQ(Decode(file).pixels, (Bytes{6, 5, 4}));
}

TEST(BmpDecodeRefusals, OtherHeaderSizesAreUnknownFormats) {
  for (uint32_t size : {108u, 124u, 64u, 0u}) {
    Bytes file = BuildDib({.headerSize = size, .pixelData = {1, 2, 3, 0}});
    EXPECT_EQ(Status(file), DibStatus::UnknownFormat) << size;
  }
}

TEST(BmpDecodeRefusals, EveryTruncationOfAGoodFileIsRefused) {
  for (const Bytes& good : {BuildDib({.width = 3, .height = 2, .pixelData = Bytes(24, 7)}),
                            BuildDib({.fileHeader = false,
                            .headerSize = 12,
                            .width = 2,
                            .bitsPerPixel = 8,
                            .palette = std::vector<Colour>(256),
                            .pixelData = {1, 2, 0, 0}}),
                            BuildDib({.width = 3,
                            .height = 2,
                            .bitsPerPixel = 8,
                            .compression = 1,
                            .colorsUsed = 4,
                            .palette = kPalette,
                            .pixelData = {3, 1, 0, 0, 3, 2, 0, 1}})}) {
    ASSERT_EQ(Status(good), DibStatus::Ok);
    for (size_t length = 0; length < good.size(); ++length) {
      EXPECT_EQ(Status(Bytes(good.begin(), good.begin() + length)), DibStatus::ConversionError)
          << length << " of " << good.size();
    }
  }
}

TEST(BmpDecodeRefusals, ImpossibleSizesDepthsAndOffsets) {
  auto status = [](DibSpec spec) {
    if (spec.pixelData.empty()) spec.pixelData = Bytes(64, 0);
    return Status(BuildDib(spec));
  };
  EXPECT_EQ(status({.width = 0}), DibStatus::ConversionError);
  EXPECT_EQ(status({.width = -1}), DibStatus::ConversionError);
  EXPECT_EQ(status({.height = 0}), DibStatus::ConversionError);
  EXPECT_EQ(status({.width = 16385}), DibStatus::ConversionError);
  EXPECT_EQ(status({.height = 16385}), DibStatus::ConversionError);
  EXPECT_EQ(status({.height = -16385}), DibStatus::ConversionError);
  EXPECT_EQ(status({.height = INT32_MIN}), DibStatus::ConversionError);
  EXPECT_EQ(status({.width = INT32_MIN}), DibStatus::ConversionError);
  // The largest accepted size with only a few bytes of data: refused before any allocation.
  EXPECT_EQ(status({.width = 16384, .height = 16384}), DibStatus::ConversionError);
  EXPECT_EQ(status({.bitsPerPixel = 2}), DibStatus::ConversionError);
  EXPECT_EQ(status({.bitsPerPixel = 0}), DibStatus::ConversionError);
  EXPECT_EQ(status({.compression = 4}), DibStatus::ConversionError);  // embedded JPEG
  EXPECT_EQ(status({.bitsPerPixel = 24, .compression = 3, .masks = {1, 2, 4}}),
            DibStatus::ConversionError);
  // A colour table longer than the file.
  EXPECT_EQ(Status(BuildDib({.fileHeader = false, .bitsPerPixel = 8, .palette = {kPalette[0]}})),
            DibStatus::ConversionError);
  // A pixel offset past the end of the file.
  Bytes file = BuildDib({.pixelData = {1, 2, 3, 0}});
  file[12] = 1;
  EXPECT_EQ(Status(file), DibStatus::ConversionError);
}

}  // namespace
