// Textures made from bitmap files, read back from the headless GL context.
#include "assets/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "assets/dib_decoder.h"
#include "formats/bmp_writer.h"
#include "platform/message_box.h"
#include "support/bmp_bytes.h"
#include "support/gl_fixture.h"

namespace {

class TextureTest : public testing_support::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&, platform::Buttons, platform::Icon) {
          messages.push_back(text);
          return platform::Answer::Ok;
        });
  }
  void TearDown() override { platform::SetMessageBoxHandler(nullptr); }

  std::vector<std::string> messages;
};

// A 64-wide picture and a 5-wide one, whose 15-byte rows an unpack alignment of 2 would skew.
TEST_F(TextureTest, PictureBecomesABoundLinearTextureBottomRowAtTZero) {
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
    std::vector<uint8_t> rgb(picture.rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    EXPECT_EQ(rgb, picture.rgb);  // both bottom row (t = 0) first
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(std::pair(minFilter, magFilter), std::pair(GL_LINEAR, GL_LINEAR));
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 2);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(messages.empty());
}

TEST_F(TextureTest, MissingOrBrokenFileGivesZeroWithoutMakingATexture) {
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(LoadTexture((::testing::TempDir() + "absent.bmp").c_str()), 0u);
  EXPECT_TRUE(messages.empty());
  testing_support::Bytes broken = formats::EncodeBmp(formats::Picture(4, 4));
  broken.pop_back();
  EXPECT_EQ(LoadTexture(testing_support::WriteTempFile("broken.bmp", broken).c_str()), 0u);
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
  EXPECT_EQ(messages, std::vector<std::string>(2, "Image file conversion error."));
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
}

}  // namespace
