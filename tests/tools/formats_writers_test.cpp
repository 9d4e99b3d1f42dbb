// The format writers against the game's own readers: every BMP pixel format and header kind
// decodes to the picture written (exactly, or close through a reduced palette), and a
// MilkShape 3D mesh parses back field for field.
#include <gtest/gtest.h>

#include <span>

#include "assets/dib_decoder.h"
#include "assets/ms3d_format.h"
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"

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

TEST(Ms3dWriter, MeshParsesBackFieldForFieldAndBadHeadersAreRefused) {
  formats::Ms3dMesh mesh;
  for (int i = 0; i < 4; ++i)
    mesh.vertices.push_back({.position = {float(i), float(i * 2) - 1.5f, -float(i)},
                             .boneId = int8_t(i - 1),
                             .referenceCount = uint8_t(i)});
  formats::Ms3dTriangle t{.vertexIndices = {0, 1, 2},
                          .vertexNormals = {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}},
                          .s = {0.25f, 0.5f, 0.75f},
                          .t = {0.1f, 0.2f, 0.3f},
                          .groupIndex = 1};
  mesh.triangles = {t, t};
  mesh.triangles[1].vertexIndices = {1, 2, 3};
  mesh.groups = {{.name = "body", .triangleIndices = {1, 0}, .materialIndex = 0},
                 {.name = "plain", .triangleIndices = {0}, .materialIndex = -1}};
  mesh.materials = {{.name = "skin",
                     .diffuse = {0.5f, 0.25f, 1, 1},
                     .shininess = 12,
                     .texture = "./skin.bmp",
                     .alphamap = ""}};
  auto bytes = formats::EncodeMs3d(mesh);
  Ms3dMesh parsed;
  ASSERT_TRUE(ParseMs3d(bytes.data(), bytes.size(), "Data", parsed));
  ASSERT_EQ(parsed.vertices.size(), 4u);
  EXPECT_EQ(parsed.vertices[3].position[1], 4.5f);
  EXPECT_EQ(parsed.vertices[0].boneId, -1);
  EXPECT_EQ(parsed.vertices[2].referenceCount, 2);
  ASSERT_EQ(parsed.triangles.size(), 2u);
  EXPECT_EQ(parsed.triangles[1].vertexIndices[2], 3);
  EXPECT_EQ(parsed.triangles[0].vertexNormals[1][2], 1.0f);
  EXPECT_EQ(parsed.triangles[0].s[2], 0.75f);
  EXPECT_EQ(parsed.triangles[0].t[1], 0.2f);
  EXPECT_EQ(parsed.triangles[0].groupIndex, 1);
  ASSERT_EQ(parsed.groups.size(), 2u);
  EXPECT_STREQ(parsed.groups[0].name, "body");
  EXPECT_EQ(parsed.groups[0].triangleIndices, (std::vector<uint16_t>{1, 0}));
  EXPECT_EQ(parsed.groups[1].materialIndex, -1);
  ASSERT_EQ(parsed.materials.size(), 1u);
  EXPECT_EQ(parsed.materials[0].diffuse[1], 0.25f);
  EXPECT_EQ(parsed.materials[0].shininess, 12.0f);
  EXPECT_STREQ(parsed.materials[0].texture, "Data/skin.bmp");

  mesh.version = 5;
  bytes = formats::EncodeMs3d(mesh);
  EXPECT_FALSE(ParseMs3d(bytes.data(), bytes.size(), "Data", parsed));
  mesh.version = 4;
  mesh.identifier = "MS3D000001";
  bytes = formats::EncodeMs3d(mesh);
  EXPECT_FALSE(ParseMs3d(bytes.data(), bytes.size(), "Data", parsed));
}

}  // namespace
