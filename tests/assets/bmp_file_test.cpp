// Reading bitmap files: the open check, the "Error" messages, and files from the content writer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "assets/bmp_image.h"
#include "formats/bmp_writer.h"
#include "platform/message_box.h"
#include "support/bmp_bytes.h"

namespace {

using testing_support::BuildDib;
using testing_support::Bytes;
using testing_support::WriteTempFile;

struct Shown {
  std::string text, caption;
};

// Records every message box instead of showing it.
class BmpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                          platform::Buttons buttons, platform::Icon) {
      EXPECT_EQ(buttons, platform::Buttons::Ok);
      shown.push_back({text, caption});
      return platform::Answer::Ok;
    });
  }
  void TearDown() override { platform::SetMessageBoxHandler(nullptr); }

  void ExpectOneError(const std::string& text) {
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, text);
    EXPECT_EQ(shown[0].caption, "Error");
  }

  std::vector<Shown> shown;
};

TEST_F(BmpFileTest, MissingFileOrNullNameGivesNothingAndSaysNothing) {
  EXPECT_EQ(LoadBmpImage((::testing::TempDir() + "no_such_picture.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadBmpImage(nullptr), nullptr);
  EXPECT_TRUE(shown.empty());
}

TEST_F(BmpFileTest, EmptyOrUnreadableFileShowsTheOpenFailureWithItsName) {
  std::string path = WriteTempFile("empty.bmp", {});
  EXPECT_EQ(LoadBmpImage(path.c_str()), nullptr);
  ExpectOneError("Failed to open DIB file " + path + ".\n");

  // A folder opens but cannot be read.
  std::string folder = ::testing::TempDir() + "bmp_folder.bmp";
  mkdir(folder.c_str(), 0700);
  shown.clear();
  EXPECT_EQ(LoadBmpImage(folder.c_str()), nullptr);
  ExpectOneError("Failed to open DIB file " + folder + ".\n");
}

TEST_F(BmpFileTest, OverlongNameIsCutToTheMessageBuffer) {
  std::string name = ::testing::TempDir() + std::string(300, 'x') + ".bmp";
  EXPECT_EQ(ReadDibFile(name.c_str()), nullptr);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text.size(), 255u);
  EXPECT_EQ(shown[0].text, ("Failed to open DIB file " + name).substr(0, 255));
}

TEST_F(BmpFileTest, EachDecodeFailureHasItsMessage) {
  Bytes v4 = BuildDib({.headerSize = 108, .pixelData = {1, 2, 3, 0}});
  EXPECT_EQ(LoadBmpImage(WriteTempFile("v4.bmp", v4).c_str()), nullptr);
  ExpectOneError("Unknown DIB file format.");

  Bytes good = BuildDib({.width = 2, .height = 2, .pixelData = Bytes(16, 9)});
  good.pop_back();
  shown.clear();
  EXPECT_EQ(LoadBmpImage(WriteTempFile("short.bmp", good).c_str()), nullptr);
  ExpectOneError("Image file conversion error.");
}

// Every format the content writer produces reads back as the picture it was given.
TEST_F(BmpFileTest, ContentWriterFilesReadBackInEveryFormat) {
  formats::Picture picture(5, 3);
  const std::vector<formats::Rgb> colours = {{0, 0, 0}, {255, 255, 255}};
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) picture.set(x, y, colours[(x * 3 + y) % 2]);
  }
  // Black and white survive every depth, 5-bit channels included.
  using F = formats::BmpPixelFormat;
  for (F format :
       {F::Rgb24, F::Rgb32, F::Rgb555, F::Indexed8, F::Rle8, F::Indexed4, F::Rle4, F::Mono1}) {
    for (auto header : {formats::BmpHeaderKind::Info40, formats::BmpHeaderKind::Core12}) {
      bool runLength = format == F::Rle8 || format == F::Rle4;
      if (runLength && header == formats::BmpHeaderKind::Core12) continue;
      for (bool fileHeader : {true, false}) {
        formats::BmpOptions options;
        options.format = format;
        options.header = header;
        options.fileHeader = fileHeader;
        std::string path = WriteTempFile("writer.bmp", formats::EncodeBmp(picture, options));
        auto image = LoadBmpImage(path.c_str());
        SCOPED_TRACE(::testing::Message() << "format " << static_cast<int>(format) << " header "
                                          << static_cast<int>(header) << " file " << fileHeader);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 5);
        EXPECT_EQ(image->height, 3);
        EXPECT_EQ(image->pixels, picture.rgb);
      }
    }
  }
  EXPECT_TRUE(shown.empty());
}

}  // namespace
