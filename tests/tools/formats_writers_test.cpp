// The format writers against the game's own readers: every BMP pixel format and header kind
// decodes to the picture written (exactly, or through its colour table), and a MilkShape 3D
// mesh parses back field for field.
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

// Stripes, runs and single pixels, odd width so every row needs padding.
Picture TestPicture(int w, int h, int colours) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      int k = (x < w / 3) ? (y % colours) : ((x * 7 + y * 3) % colours);
      p.set(x, y, {uint8_t(k * 37), uint8_t(255 - k * 16), uint8_t(k * 90 % 256)});
    }
  return p;
}

RgbImage Decode(const std::vector<uint8_t>& bytes) {
  RgbImage image;
  EXPECT_EQ(DecodeDib(std::span(bytes.data(), bytes.size()), image), DibStatus::Ok);
  return image;
}

TEST(BmpWriter, LosslessFormatsDecodeToThePictureWritten) {
  const Picture p = TestPicture(37, 9, 12);
  struct Case {
    BmpPixelFormat format;
    BmpHeaderKind header;
    bool fileHeader;
  };
  for (Case c : {Case{BmpPixelFormat::Rgb24, BmpHeaderKind::Info40, true},
                 {BmpPixelFormat::Rgb24, BmpHeaderKind::Core12, true},
                 {BmpPixelFormat::Rgb24, BmpHeaderKind::Info40, false},
                 {BmpPixelFormat::Rgb32, BmpHeaderKind::Info40, true},
                 {BmpPixelFormat::Indexed8, BmpHeaderKind::Info40, true},
                 {BmpPixelFormat::Indexed8, BmpHeaderKind::Core12, false},
                 {BmpPixelFormat::Rle8, BmpHeaderKind::Info40, true},
                 {BmpPixelFormat::Indexed4, BmpHeaderKind::Info40, true},
                 {BmpPixelFormat::Rle4, BmpHeaderKind::Info40, false}}) {
    BmpOptions o;
    o.format = c.format;
    o.header = c.header;
    o.fileHeader = c.fileHeader;
    RgbImage image = Decode(formats::EncodeBmp(p, o));
    EXPECT_EQ(image.width, p.width);
    EXPECT_EQ(image.height, p.height);
    EXPECT_EQ(image.pixels, p.rgb) << "format " << int(c.format) << " header " << int(c.header);
  }
}

TEST(BmpWriter, ShortColourTablesAndLongRunsDecode) {
  // Runs longer than 255 pixels, absolute stretches of odd length, a 5-entry table.
  Picture p(600, 3);
  for (int x = 0; x < 600; ++x) {
    p.set(x, 0, x < 300 ? Rgb{10, 20, 30} : Rgb{200, 0, 0});
    p.set(x, 1, (x % 5 == 0) ? Rgb{0, 255, 0} : Rgb{0, 0, 255});
    p.set(x, 2, Rgb{uint8_t((x / 3) % 2 * 255), 9, 9});
  }
  for (BmpPixelFormat f : {BmpPixelFormat::Rle8, BmpPixelFormat::Rle4, BmpPixelFormat::Indexed4}) {
    BmpOptions o;
    o.format = f;
    o.shortColourTable = true;
    RgbImage image = Decode(formats::EncodeBmp(p, o));
    EXPECT_EQ(image.pixels, p.rgb) << int(f);
  }
}

TEST(BmpWriter, ReducedFormatsStayCloseToThePicture) {
  Picture gradient(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) gradient.set(x, y, {uint8_t(x * 4), uint8_t(y * 4), uint8_t(128)});
  for (auto [format, tolerance] : {std::pair{BmpPixelFormat::Rgb555, 8},
                                   {BmpPixelFormat::Indexed8, 24},
                                   {BmpPixelFormat::Indexed4, 80}}) {
    BmpOptions o;
    o.format = format;
    RgbImage image = Decode(formats::EncodeBmp(gradient, o));
    ASSERT_EQ(image.pixels.size(), gradient.rgb.size());
    int worst = 0;
    for (size_t i = 0; i < image.pixels.size(); ++i)
      worst = std::max(worst, std::abs(int(image.pixels[i]) - int(gradient.rgb[i])));
    EXPECT_LE(worst, tolerance) << int(format);
  }
  // Two colours in 1 bit per pixel come back exactly.
  Picture mono(19, 5, {250, 200, 10});
  for (int x = 0; x < 19; x += 2) mono.set(x, 2, {0, 0, 0});
  BmpOptions o;
  o.format = BmpPixelFormat::Mono1;
  EXPECT_EQ(Decode(formats::EncodeBmp(mono, o)).pixels, mono.rgb);
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

TEST(Ms3dWriter, MeshParsesBackFieldForField) {
  formats::Ms3dMesh mesh;
  for (int i = 0; i < 4; ++i) {
    formats::Ms3dVertex v;
    v.position = {float(i), float(i * 2) - 1.5f, -float(i)};
    v.boneId = int8_t(i - 1);
    v.referenceCount = uint8_t(i);
    mesh.vertices.push_back(v);
  }
  formats::Ms3dTriangle t;
  t.vertexIndices = {0, 1, 2};
  t.vertexNormals = {{{0, 1, 0}, {0, 0, 1}, {1, 0, 0}}};
  t.s = {0.25f, 0.5f, 0.75f};
  t.t = {0.1f, 0.2f, 0.3f};
  t.groupIndex = 1;
  mesh.triangles = {t, t};
  mesh.triangles[1].vertexIndices = {1, 2, 3};
  formats::Ms3dGroup a, b;
  a.name = "body";
  a.triangleIndices = {1, 0};
  a.materialIndex = 0;
  b.name = "plain";
  b.triangleIndices = {0};
  b.materialIndex = -1;
  mesh.groups = {a, b};
  formats::Ms3dMaterial m;
  m.name = "skin";
  m.diffuse = {0.5f, 0.25f, 1, 1};
  m.shininess = 12;
  m.texture = "./skin.bmp";
  mesh.materials = {m};

  auto bytes = formats::EncodeMs3d(mesh);
  EXPECT_EQ(bytes.size(),
            formats::kMs3dHeaderSize + 2 + 4 * formats::kMs3dVertexSize + 2 +
                2 * formats::kMs3dTriangleSize + 2 + (formats::kMs3dGroupBaseSize + 4) +
                (formats::kMs3dGroupBaseSize + 2) + 2 + formats::kMs3dMaterialSize + 14);
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

  // A wrong identifier or version is written as asked, and refused by the reader.
  mesh.version = 5;
  auto badVersion = formats::EncodeMs3d(mesh);
  EXPECT_FALSE(ParseMs3d(badVersion.data(), badVersion.size(), "Data", parsed));
  mesh.version = 4;
  mesh.identifier = "MS3D000001";
  auto badId = formats::EncodeMs3d(mesh);
  EXPECT_FALSE(ParseMs3d(badId.data(), badId.size(), "Data", parsed));
}

}  // namespace
