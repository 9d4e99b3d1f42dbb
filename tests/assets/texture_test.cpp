// Textures made from bitmap files, read back from the headless GL context.
#include "assets/texture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/message_box.h"
#include "support/bmp_bytes.h"
#include "support/gl_fixture.h"

namespace {

using testing_support::Bytes;

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

  // Level 0 of the bound texture as RGB, bottom row (t = 0) first.
  static Bytes BoundImage(GLint& width, GLint& height) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    Bytes rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
  }

  // The pixels a 24-bit gradient file of this size decodes to.
  static Bytes GradientPixels(int width, int height) {
    Bytes rgb;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        rgb.insert(rgb.end(), {static_cast<unsigned char>(x ^ y), static_cast<unsigned char>(y * 3),
                               static_cast<unsigned char>(x * 7 + y)});
      }
    }
    return rgb;
  }

  std::vector<std::string> messages;
};

TEST_F(TextureTest, PictureBecomesABoundLinearTextureBottomRowAtTZero) {
  std::string path =
      testing_support::WriteTempFile("tex64.bmp", testing_support::Gradient24(64, 64));
  GLuint name = LoadTexture(path.c_str());
  ASSERT_NE(name, 0u);
  GLint bound = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(static_cast<GLuint>(bound), name);

  GLint width = 0, height = 0;
  Bytes image = BoundImage(width, height);
  EXPECT_EQ(width, 64);
  EXPECT_EQ(height, 64);
  EXPECT_EQ(image, GradientPixels(64, 64));  // row 0 of the file (its bottom row) is t = 0

  GLint minFilter = 0, magFilter = 0;
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
  EXPECT_EQ(minFilter, GL_LINEAR);
  EXPECT_EQ(magFilter, GL_LINEAR);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  EXPECT_TRUE(messages.empty());
}

TEST_F(TextureTest, TwoLoadsOfOneFileGiveTwoNames) {
  std::string path = testing_support::WriteTempFile("twice.bmp", testing_support::Gradient24(4, 4));
  GLuint first = LoadTexture(path.c_str());
  GLuint second = LoadTexture(path.c_str());
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, 0u);
  EXPECT_NE(first, second);
}

TEST_F(TextureTest, OddWidthUploadsUnskewedAndKeepsTheUnpackAlignment) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
  std::string path = testing_support::WriteTempFile("odd.bmp", testing_support::Gradient24(5, 3));
  ASSERT_NE(LoadTexture(path.c_str()), 0u);
  GLint width = 0, height = 0;
  EXPECT_EQ(BoundImage(width, height), GradientPixels(5, 3));
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 2);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(TextureTest, MissingOrBrokenFileGivesZeroWithoutMakingATexture) {
  glBindTexture(GL_TEXTURE_2D, 0);
  EXPECT_EQ(LoadTexture((::testing::TempDir() + "absent.bmp").c_str()), 0u);
  EXPECT_TRUE(messages.empty());

  Bytes broken = testing_support::Gradient24(4, 4);
  broken.resize(broken.size() - 1);
  EXPECT_EQ(LoadTexture(testing_support::WriteTempFile("broken.bmp", broken).c_str()), 0u);
  EXPECT_EQ(messages, std::vector<std::string>{"Image file conversion error."});
  GLint bound = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 0);
}

}  // namespace
