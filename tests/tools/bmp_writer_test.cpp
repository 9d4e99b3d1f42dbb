// The BMP writer against the game's own reader: every pixel format and header kind decodes to
// the picture written (exactly, or close through a reduced palette). The MilkShape 3D writer is
// read back field for field by the parser's tests.
#include <gtest/gtest.h>

#include <span>

#include "assets/dib_decoder.h"
#include "formats/bmp_writer.h"

namespace {

using formats::BmpHeaderKind;
using formats::BmpOptions;
using formats::BmpPixelFormat;
using formats::Picture;
using formats::Rgb;

RgbImage Decode(const Picture& p, const BmpOptions& o) {
  auto bytes = formats::EncodeBmp(p, o);
  RgbImage image;
  EXPECT_EQ(DecodeDib(std::span(bytes.data(), bytes.size()), image), DibStatus::Ok);
  return image;
}

TEST(BmpWriter, LosslessFormatsDecodeToThePictureWritten) {
  // Odd width so every row needs padding; a run longer than 255 pixels, runs of three, and
  // absolute stretches where every pixel differs; twelve colours.
  Picture p(601, 6);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      int k = y == 0 ? x / 300 : y == 1 ? (x / 3) % 2 + 2 : (x * 7 + y * 3) % 12;
      p.set(x, y, {uint8_t(k * 37), uint8_t(255 - k * 16), uint8_t(k * 90 % 256)});
    }
  using enum BmpPixelFormat;
  using enum BmpHeaderKind;
  struct Case {
    BmpPixelFormat format;
    BmpHeaderKind header;
    bool fileHeader, shortColourTable;
  };
  const Case cases[] = {{Rgb24, Info40, true, false},    {Rgb24, Core12, true, false},
                        {Rgb24, Info40, false, false},   {Rgb32, Info40, true, false},
                        {Indexed8, Info40, true, false}, {Indexed8, Core12, false, false},
                        {Rle8, Info40, true, false},     {Rle8, Info40, true, true},
                        {Indexed4, Info40, true, false}, {Indexed4, Info40, true, true},
                        {Rle4, Info40, false, false},    {Rle4, Info40, true, true}};
  for (const Case& c : cases) {
    RgbImage image = Decode(p, {.format = c.format,
                                .header = c.header,
                                .fileHeader = c.fileHeader,
                                .palette = {},
                                .shortColourTable = c.shortColourTable});
    EXPECT_EQ(image.width, p.width);
    EXPECT_EQ(image.height, p.height);
    EXPECT_EQ(image.pixels, p.rgb) << "format " << int(c.format) << " header " << int(c.header)
                                   << " short table " << c.shortColourTable;
  }
}

TEST(BmpWriter, ReducedFormatsStayCloseToThePicture) {
  Picture gradient(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) gradient.set(x, y, {uint8_t(x * 4), uint8_t(y * 4), uint8_t(128)});
  for (auto [format, tolerance] : {std::pair{BmpPixelFormat::Rgb555, 8},
                                   {BmpPixelFormat::Indexed8, 24},
                                   {BmpPixelFormat::Indexed4, 80}}) {
    RgbImage image = Decode(gradient, {.format = format, .palette = {}});
    ASSERT_EQ(image.pixels.size(), gradient.rgb.size());
    int worst = 0;
    for (size_t i = 0; i < image.pixels.size(); ++i)
      worst = std::max(worst, std::abs(int(image.pixels[i]) - int(gradient.rgb[i])));
    EXPECT_LE(worst, tolerance) << int(format);
  }
  // Two colours in 1 bit per pixel come back exactly.
  Picture mono(19, 5, {250, 200, 10});
  for (int x = 0; x < 19; x += 2) mono.set(x, 2, {0, 0, 0});
  EXPECT_EQ(Decode(mono, {.format = BmpPixelFormat::Mono1, .palette = {}}).pixels, mono.rgb);
}

TEST(BmpWriter, RefusesWhatTheFormatCannotHold) {
  BmpOptions o;
  o.format = BmpPixelFormat::Rle8;
  o.header = BmpHeaderKind::Core12;
  EXPECT_THROW(formats::EncodeBmp(Picture(4, 4), o), std::invalid_argument);
  o = {};
  o.format = BmpPixelFormat::Indexed4;
  o.palette.assign(17, Rgb{});
  EXPECT_THROW(formats::EncodeBmp(Picture(4, 4), o), std::invalid_argument);
  EXPECT_THROW(formats::EncodeBmp(Picture(0, 4)), std::invalid_argument);
}

}  // namespace
