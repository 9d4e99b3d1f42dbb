// Textures made from bitmap files, read back from the headless GL context.
#include "assets/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "assets/dib_decoder.h"
#include "formats/bmp_writer.h"
#include "support/bmp_bytes.h"
#include "support/box_recorder.h"
#include "support/gl_fixture.h"

namespace {

using testing_support::TextureRgb;

class TextureTest : public testing_support::GlTest {
 protected:
  testing_support::BoxRecorder boxes;
  const std::vector<std::string>& messages = boxes.texts;
};

TEST(HalvePictureTest, EachPixelIsTheRoundedMeanOfItsBlock) {
  struct Case {
    int width, height;
    std::vector<uint8_t> pixels, half;
  } cases[] = {
      {2, 2, {0, 10, 255, 1, 20, 255, 2, 30, 255, 4, 41, 0}, {2, 25, 191}},
      {3, 1, {10, 0, 0, 20, 0, 0, 99, 99, 99}, {15, 0, 0}},  // odd width: last column out
      {1, 3, {8, 0, 0, 0, 8, 0, 9, 9, 9}, {4, 4, 0}},        // width 1 used twice
      {4,
       2,
       {0, 0, 0, 4, 4, 4, 8, 8, 8, 12, 12, 12,   // bottom row
        1, 1, 1, 5, 5, 5, 9, 9, 9, 13, 13, 13},  // top row
       {3, 3, 3, 11, 11, 11}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HalvePicture(c.pixels.data(), c.width, c.height), c.half)
        << c.width << "x" << c.height;
}

// A 64-wide picture and a 5-wide one, whose 15-byte rows an unpack alignment of 2 would skew.
// Every level down to 1 by 1 must be there, or GL samples the texture as if it had none.
TEST_F(TextureTest, PictureBecomesABoundMipmappedTextureBottomRowAtTZero) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
  for (auto [width, height] : {std::pair{64, 64}, {5, 3}}) {
    formats::Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x)
        picture.set(x, y, {uint8_t(x * 7 + y), uint8_t(y * 3), uint8_t(x ^ y)});
    }
    std::string path = testing_support::WriteTempFile("texture.bmp", formats::EncodeBmp(picture));
    GLuint first = LoadTexture(path.c_str()), second = LoadTexture(path.c_str());
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    GLint bound = 0, w = 0, h = 0, minFilter = 0, magFilter = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), second);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(width, height));
    std::vector<uint8_t> rgb = TextureRgb(second);
    EXPECT_EQ(rgb, picture.rgb);  // both bottom row (t = 0) first
    for (int level = 1; w > 1 || h > 1; ++level) {
      rgb = HalvePicture(rgb.data(), w, h);
      w = std::max(1, w / 2), h = std::max(1, h / 2);
      GLint levelW = 0, levelH = 0;
      glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &levelW);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &levelH);
      ASSERT_EQ(std::pair(levelW, levelH), std::pair(w, h)) << "level " << level;
      EXPECT_EQ(TextureRgb(second, level), rgb) << "level " << level;
    }
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(std::pair(minFilter, magFilter), std::pair(GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR));
    GLint internalFormat = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    EXPECT_EQ(internalFormat, GL_RGB8);
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 2);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(messages.empty());
}

// Screen-sized pictures keep one level and plain linear minification.
TEST_F(TextureTest, LinearTextureHasOneLevelAndLinearMinification) {
  formats::Picture picture(8, 4);
  std::string path = testing_support::WriteTempFile("linear.bmp", formats::EncodeBmp(picture));
  ASSERT_NE(LoadTexture(path.c_str(), TextureFilter::Linear), 0u);
  GLint minFilter = 0, levelOneWidth = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOneWidth);
  EXPECT_EQ(std::pair(minFilter, levelOneWidth), std::pair(GL_LINEAR, 0));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Prepared on the workers in one order, taken in another: the boxes follow the LoadTexture and
// CheckTexture calls, the levels are those of a texture loaded directly, and a check, prefetched
// or not, makes no texture.
TEST_F(TextureTest, PrefetchedPicturesMatchAndTheirBoxesComeInCallOrder) {
  formats::Picture picture(7, 5);
  for (int i = 0; i < 35; ++i) picture.set(i % 7, i / 7, {uint8_t(i * 7), uint8_t(i), 9});
  testing_support::Bytes bytes = formats::EncodeBmp(picture), broken = bytes, unknown = bytes;
  broken.pop_back();
  unknown[14] = 20;  // no such header size
  const std::string good = testing_support::WriteTempFile("good.bmp", bytes),
                    brokenPath = testing_support::WriteTempFile("broken.bmp", broken),
                    unknownPath = testing_support::WriteTempFile("unknown.bmp", unknown),
                    absent = ::testing::TempDir() + "absent.bmp";
  auto levels = [](GLuint texture) {
    return std::vector{TextureRgb(texture, 0), TextureRgb(texture, 1), TextureRgb(texture, 2)};
  };
  const auto direct = levels(LoadTexture(good.c_str()));
  const auto check = PictureRequest::Check;
  PrefetchTextures(
      {{brokenPath}, {good, check}, {absent}, {good}, {unknownPath, check}, {unknownPath}});
  EXPECT_EQ(LoadTexture(unknownPath.c_str()), 0u);
  EXPECT_EQ(LoadTexture(brokenPath.c_str()), 0u);
  EXPECT_EQ(LoadTexture(absent.c_str()), 0u);
  GLuint before = 0, after = 0;
  glGenTextures(1, &before);
  EXPECT_EQ(std::vector<bool>({CheckTexture(good.c_str()), CheckTexture(unknownPath.c_str()),
                               CheckTexture(absent.c_str()), CheckTexture(brokenPath.c_str())}),
            std::vector<bool>({true, false, false, false}));
  glGenTextures(1, &after);
  EXPECT_EQ(after, before + 1);  // no name taken in between
  glDeleteTextures(1, &before);
  glDeleteTextures(1, &after);
  EXPECT_EQ(levels(LoadTexture(good.c_str())), direct);
  EXPECT_EQ(messages,
            (std::vector<std::string>{"Unknown DIB file format.", "Image file conversion error.",
                                      "Unknown DIB file format.", "Image file conversion error."}));
}

// A picture asked for twice in one list serves both loads; asking again from a later list adds
// no load, so nothing stays waiting: a later load reads the file as it is now.
TEST_F(TextureTest, APictureAskedForTwiceServesTwoLoadsAndNothingStaysWaiting) {
  auto firstTexel = [](GLuint texture) {
    const std::vector<uint8_t> texels = TextureRgb(texture);
    return std::vector<uint8_t>(texels.begin(), texels.begin() + 3);
  };
  formats::Picture red(4, 4, {200, 0, 0}), blue(4, 4, {0, 0, 200});
  const std::string path = testing_support::WriteTempFile("shared.bmp", formats::EncodeBmp(red));
  PrefetchTextures({{path}, {path}});
  PrefetchTextures({{path}});
  EXPECT_EQ(firstTexel(LoadTexture(path.c_str())), std::vector<uint8_t>({200, 0, 0}));
  EXPECT_EQ(firstTexel(LoadTexture(path.c_str())), std::vector<uint8_t>({200, 0, 0}));
  testing_support::WriteTempFile("shared.bmp", formats::EncodeBmp(blue));
  EXPECT_EQ(firstTexel(LoadTexture(path.c_str())), std::vector<uint8_t>({0, 0, 200}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(TextureTest, APictureWiderThanOpenGLTakesGivesZeroWithoutMakingATexture) {
  glBindTexture(GL_TEXTURE_2D, 0);
  // One pixel wider than OpenGL takes (or than the reader's own limit).
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  const int32_t wide = std::min(maxSide, kMaxDibDimension) + 1;
  testing_support::Bytes row(size_t(wide) * 3 + 3, 0);
  EXPECT_EQ(
      LoadTexture(testing_support::WriteTempFile(
                      "wide.bmp", testing_support::BuildDib({.width = wide, .pixelData = row}))
                      .c_str()),
      0u);
  EXPECT_EQ(messages, std::vector<std::string>{"Image file conversion error."});
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
}

}  // namespace
