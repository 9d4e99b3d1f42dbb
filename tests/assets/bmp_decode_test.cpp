// Decoding of every accepted pixel format and header kind into packed RGB, bottom row first, and
// the refusal of files that are cut short, oversized or inconsistent.
#include <gtest/gtest.h>

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

// An uncompressed file without colour table.
Bytes Direct(int32_t width, int32_t height, uint16_t bits, Bytes data) {
  return BuildDib({true, 40, width, height, bits, 0, 0, {}, {}, std::move(data)});
}

// A file whose colour table is the 4 entries of kPalette.
Bytes Indexed(int32_t width, int32_t height, uint16_t bits, uint32_t compression, Bytes data) {
  return BuildDib({true, 40, width, height, bits, compression, 4, {}, kPalette, std::move(data)});
}

// Run-length rows each writing `pixels` pixels in runs of up to 255, then the end of bitmap.
Bytes Rows(int rows, int pixels) {
  Bytes data;
  for (int y = 0; y < rows; ++y) {
    for (int left = pixels; left > 0; left -= 255)
      data.insert(data.end(), {uint8_t(std::min(left, 255)), 1});
    data.insert(data.end(), {0, 0});
  }
  data.insert(data.end(), {0, 1});
  return data;
}

// The end of bitmap at once, then `size` zero bytes.
Bytes Filler(size_t size) {
  Bytes data(size + 2, 0);
  data[1] = 1;
  return data;
}

// A 1-pixel file with bit fields, the masks after the header or inside it.
Bytes Fields(uint16_t bits, std::vector<uint32_t> masks, Bytes data, bool fileHeader = true,
             uint32_t headerSize = 40, bool masksInHeader = false) {
  return BuildDib({fileHeader,
                   headerSize,
                   1,
                   1,
                   bits,
                   3,
                   0,
                   std::move(masks),
                   {},
                   std::move(data),
                   masksInHeader});
}

Bytes Cut(Bytes file, size_t length) {
  file.resize(length);
  return file;
}

Bytes WithByte(Bytes file, size_t at, unsigned char value) {
  file[at] = value;
  return file;
}

// The status of decoding bytes; a refused file must leave no picture behind, and the check
// that decodes nothing must give the same verdict and size.
DibStatus Status(const Bytes& file, RgbImage& image) {
  image = {1, 1, {1, 2, 3}};
  DibStatus status = DecodeDib(file, image);
  EXPECT_TRUE(status == DibStatus::Ok || (image.pixels.empty() && image.width == 0));
  int32_t width = -1, height = -1;
  EXPECT_EQ(CheckDib(file, width, height), status);
  EXPECT_EQ(std::tie(width, height), std::tie(image.width, image.height));
  return status;
}

TEST(BmpDecode, EveryPixelFormatAndHeaderKindGivesItsRgbBytes) {
  const std::vector<Colour> two = {kPalette[0], kPalette[1]};
  // DibSpec in order: file header, header size, width, height, bits, compression, colours
  // used, masks, colour table, pixel data.
  const std::tuple<const char*, Bytes, Bytes> cases[] = {
      {"top-down", Direct(1, -2, 24, {2, 2, 2, 0, 1, 1, 1, 0}), {1, 1, 1, 2, 2, 2}},
      {"8 bits, index past the table", Indexed(2, 1, 8, 0, {1, 200, 0, 0}), Colours({1, -1})},
      {"bit fields 32, packed",
       Fields(32, {0xFF, 0xFF00, 0xFFC00000}, {0x11, 0x22, 0, 0xFF}, false),
       {0x11, 0x22, 0xFF}},
      {"packed after a colour table",
       BuildDib({false, 40, 1, 1, 24, 0, 2, {}, two, {1, 2, 3, 0}}),
       {3, 2, 1}},
      {"stored pixel offset",
       WithByte(Direct(1, 1, 24, {0, 0, 0, 0, 4, 5, 6, 0}), 10, 58),
       {6, 5, 4}},
      // Run, padded absolute run, end of line; run, delta (2, 1), run, end of bitmap.
      {"RLE8", Indexed(5, 3, 8, 1, {2, 1, 0, 3, 1, 2, 3, 0, 0, 0, 1, 2, 0, 2, 2, 1, 1, 3, 0, 1}),
       Colours({1, 1, 1, 2, 3, 2, -1, -1, -1, -1, -1, -1, -1, 3, -1})},
      {"RLE8 without end of bitmap", Indexed(4, 2, 8, 1, {4, 1, 0, 0, 4, 2, 0, 0}),
       Colours({1, 1, 1, 1, 2, 2, 2, 2})},
      // Runs into the row's padding (to 4 pixels at 8 bits, 8 at 4 bits) are cut at the width.
      {"RLE8 run into the padding", Indexed(3, 2, 8, 1, {4, 1, 0, 0, 0, 4, 2, 3, 3, 3, 0, 1}),
       Colours({1, 1, 1, 2, 3, 3})},
      {"RLE8 width 1", Indexed(1, 2, 8, 1, {4, 1, 0, 0, 2, 3, 0, 1}), Colours({1, 3})},
      {"RLE4 run into the padding", Indexed(3, 1, 4, 2, {8, 0x21, 0, 1}), Colours({2, 1, 2})},
      // Later header kinds: their extra fields (filled with 0xEE) are read past; masks sit in
      // the header from byte 40, except after the 64-byte header.
      {"52-byte header, masks inside",
       Fields(16, {0xF800, 0x07E0, 0x001F}, {0x20, 0xF8, 0, 0}, true, 52, true),
       {255, 4, 0}},
      {"56-byte header, packed",
       Fields(16, {0x7C00, 0x03E0, 0x001F, 0x8000}, {0x1F, 0x80, 0, 0}, false, 56, true),
       {0, 0, 255}},
      {"64-byte header, masks after it",
       Fields(16, {0xF800, 0x07E0, 0x001F}, {0x20, 0xF8, 0, 0}, false, 64),
       {255, 4, 0}},
      {"124-byte header, packed 24 bits",
       BuildDib({false, 124, 1, 1, 24, 0, 0, {}, {}, {1, 2, 3, 0}}),
       {3, 2, 1}},
  };
  for (const auto& [what, file, rgb] : cases) {
    RgbImage image;
    ASSERT_EQ(Status(file, image), DibStatus::Ok) << what;
    EXPECT_EQ(image.pixels, rgb) << what;
    EXPECT_EQ(image.pixels.size(), 3u * image.width * image.height) << what;
  }
}

TEST(BmpDecode, RefusesUnknownHeadersAndEveryUnsafeFile) {
  const Bytes row16385(3 * 16385 + 1), rows16385(4 * 16385);
  const std::tuple<const char*, Bytes, DibStatus> cases[] = {
      {"100-byte header", BuildDib({.headerSize = 100}), DibStatus::UnknownFormat},
      {"0-byte header", BuildDib({.headerSize = 0}), DibStatus::UnknownFormat},
      {"124-byte header cut short", Cut(BuildDib({.headerSize = 124}), 14 + 100), kBad},
      {"width 0", BuildDib({.width = 0}), kBad},
      {"width -1", BuildDib({.width = -1, .pixelData = Bytes(64)}), kBad},
      {"height 0", BuildDib({.height = 0}), kBad},
      {"width 16384 is allowed", BuildDib({.width = 16384, .pixelData = row16385}), DibStatus::Ok},
      {"width 16385", BuildDib({.width = 16385, .pixelData = row16385}), kBad},
      {"height 16385", BuildDib({.height = 16385, .pixelData = rows16385}), kBad},
      {"height -16385", BuildDib({.height = -16385, .pixelData = rows16385}), kBad},
      {"height INT32_MIN", BuildDib({.height = INT32_MIN, .pixelData = rows16385}), kBad},
      {"16384 square with 4 bytes of pixels", BuildDib({.width = 16384, .height = 16384}), kBad},
      {"2 bits", BuildDib({.bitsPerPixel = 2, .pixelData = Bytes(4)}), kBad},
      {"embedded JPEG", BuildDib({.compression = 4, .pixelData = Bytes(4)}), kBad},
      {"bit fields at 24 bits", Fields(24, {0xFF, 0xFF00, 0xFF0000}, Bytes(4)), kBad},
      {"scattered mask", Fields(16, {0xF00F, 0x07E0, 0x001F}, Bytes(4)), kBad},
      {"bit fields without masks", Fields(32, {}, {}, false), kBad},
      {"colour table past the end", BuildDib({false, 40, 1, 1, 8, 0, 0, {}, {kPalette[0]}, {}}),
       kBad},
      {"pixel offset past the end", WithByte(BuildDib({.pixelData = {1, 2, 3, 0}}), 12, 1), kBad},
      {"RLE4 at 8 bits", Indexed(4, 2, 8, 2, {0, 1}), kBad},
      {"RLE8 at 4 bits", Indexed(4, 2, 4, 1, {0, 1}), kBad},
      {"run filling the row", Indexed(4, 2, 8, 1, {4, 1, 0, 1}), DibStatus::Ok},
      {"run past the row", Indexed(4, 2, 8, 1, {5, 1, 0, 1}), kBad},
      {"run past the padded row", Indexed(3, 2, 8, 1, {5, 1, 0, 1}), kBad},
      {"RLE4 run past the padded row", Indexed(3, 2, 4, 2, {9, 0x11, 0, 1}), kBad},
      {"second run past the row", Indexed(4, 2, 8, 1, {2, 1, 3, 1, 0, 1}), kBad},
      {"absolute run past the row", Indexed(4, 2, 8, 1, {0, 5, 1, 2, 3, 0, 0, 0, 0, 1}), kBad},
      {"absolute run cut short", Indexed(4, 2, 8, 1, {0, 4, 1, 2}), kBad},
      {"delta past the row", Indexed(4, 2, 8, 1, {0, 2, 5, 0, 0, 1}), kBad},
      {"delta past the top", Indexed(4, 2, 8, 1, {0, 2, 0, 2, 0, 1}), kBad},
      {"delta cut short", Indexed(4, 2, 8, 1, {0, 2, 1}), kBad},
      {"run above the top", Indexed(4, 2, 8, 1, {0, 0, 0, 0, 1, 1, 0, 1}), kBad},
      {"data ending mid-picture", Indexed(4, 2, 8, 1, {4, 1, 0, 0}), kBad},
      {"no run-length data", Indexed(4, 2, 8, 1, {}), kBad},
      // A few bytes may not claim a huge picture: refused before the picture is allocated.
      {"RLE8 16384 square in 2 bytes", Indexed(16384, 16384, 8, 1, {0, 1}), kBad},
      {"RLE4 4096 by 257 in 4 bytes", Indexed(4096, 257, 4, 2, {0, 0, 0, 1}), kBad},
      {"RLE8 1024 square in 2 bytes", Indexed(1024, 1024, 8, 1, {0, 1}), DibStatus::Ok},
      // Only pixels the runs write count: filler after the end of bitmap, or lines ended at
      // once, cannot claim a picture (half of 4096 by 512 written is enough, less is not).
      {"runs over half", Indexed(4096, 512, 8, 1, Rows(512, 2048)), DibStatus::Ok},
      {"runs short of half", Indexed(4096, 512, 8, 1, Rows(512, 2047)), kBad},
      {"ends of line only", Indexed(4096, 512, 8, 1, Bytes(8192, 0)), kBad},
      {"16384 square, end and 1 MiB filler", Indexed(16384, 16384, 8, 1, Filler(1 << 20)), kBad},
  };
  for (const auto& [what, file, status] : cases) {
    RgbImage image;
    EXPECT_EQ(Status(file, image), status) << what;
  }
  // The read bound: the rows of an uncompressed picture after its pixels' offset, two bytes a
  // padded pixel a row for a run-length one; a header that is not a picture's, just itself.
  const std::tuple<Bytes, size_t> limits[] = {
      {BuildDib({.width = 3, .height = 2, .pixelData = Bytes(24, 7)}), 54 + 2 * 12},
      {Indexed(3, 2, 8, 1, {}), 70 + (2 * 4 + 2) * 2 + 2},
      {BuildDib({.headerSize = 100}), 0},
      {WithByte(BuildDib({.pixelData = Bytes(4)}), 13, 0x7F), 0},  // pixels 2 GiB on
  };
  for (const auto& [file, limit] : limits)
    EXPECT_EQ(DibReadLimit(file), limit ? limit : file.size());
  // Every truncation of a good file.
  for (const Bytes& good :
       {BuildDib({.width = 3, .height = 2, .pixelData = Bytes(24, 7)}),
        BuildDib({false, 12, 2, 1, 8, 0, 0, {}, std::vector<Colour>(256), {1, 2, 0, 0}}),
        Indexed(3, 2, 8, 1, {3, 1, 0, 0, 3, 2, 0, 1})}) {
    RgbImage image;
    ASSERT_EQ(Status(good, image), DibStatus::Ok);
    for (size_t length = 0; length < good.size(); ++length) {
      EXPECT_EQ(Status(Bytes(good.begin(), good.begin() + length), image), kBad) << length;
    }
  }
}

}  // namespace
