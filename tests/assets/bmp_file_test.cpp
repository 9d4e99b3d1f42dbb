// Reading bitmap files: the open check, the "Error" messages, and files from the content writer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <utility>
#include <vector>

#include "assets/bmp_image.h"
#include "formats/bmp_writer.h"
#include "platform/message_box.h"
#include "support/bmp_bytes.h"

namespace {

using testing_support::BuildDib;
using testing_support::WriteTempFile;
using Shown = std::vector<std::pair<std::string, std::string>>;  // text, caption

// Records every message box instead of showing it.
class BmpFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetMessageBoxHandler([this](const std::string& text, const std::string& caption,
                                          platform::Buttons buttons, platform::Icon) {
      EXPECT_EQ(buttons, platform::Buttons::Ok);
      shown.emplace_back(text, caption);
      return platform::Answer::Ok;
    });
  }
  void TearDown() override { platform::SetMessageBoxHandler(nullptr); }

  Shown shown;
};

TEST_F(BmpFileTest, MissingFileOrNullNameGivesNothingAndSaysNothing) {
  EXPECT_EQ(LoadBmpImage((::testing::TempDir() + "no_such_picture.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadBmpImage(nullptr), nullptr);
  EXPECT_TRUE(shown.empty());
}

TEST_F(BmpFileTest, EachFailureShowsItsMessageUnderError) {
  const std::string empty = WriteTempFile("empty.bmp", {});
  const std::string folder = ::testing::TempDir() + "quillon_folder.bmp";  // opens, reads nothing
  mkdir(folder.c_str(), 0700);
  const std::string longName = ::testing::TempDir() + std::string(300, 'x') + ".bmp";
  testing_support::Bytes cut = BuildDib({.width = 2, .height = 2, .pixelData = {1, 2, 3}});
  for (const auto& [file, text] : std::vector<std::pair<std::string, std::string>>{
           {empty, "Failed to open DIB file " + empty + ".\n"},
           {folder, "Failed to open DIB file " + folder + ".\n"},
           {longName, ("Failed to open DIB file " + longName).substr(0, 255)},
           {WriteTempFile("v4.bmp", BuildDib({.headerSize = 108})), "Unknown DIB file format."},
           {WriteTempFile("v5.bmp", BuildDib({.headerSize = 124})), "Unknown DIB file format."},
           {WriteTempFile("cut.bmp", cut), "Image file conversion error."}}) {
    shown.clear();
    EXPECT_EQ(file == longName ? ReadDibFile(file.c_str()) : LoadBmpImage(file.c_str()), nullptr);
    EXPECT_EQ(shown, (Shown{{text, "Error"}}));
  }
}

// Every format the content writer produces reads back as the picture it was given; black and
// white survive every depth, 5-bit channels included.
TEST_F(BmpFileTest, ContentWriterFilesReadBackInEveryFormat) {
  formats::Picture picture(5, 3);
  for (int i = 1; i < 15; i += 2) picture.set(i % 5, i / 5, {255, 255, 255});
  using F = formats::BmpPixelFormat;
  using H = formats::BmpHeaderKind;
  for (F format :
       {F::Rgb24, F::Rgb32, F::Rgb555, F::Indexed8, F::Rle8, F::Indexed4, F::Rle4, F::Mono1}) {
    for (H header : {H::Info40, H::Core12}) {
      if ((format == F::Rle8 || format == F::Rle4) && header == H::Core12) continue;
      for (bool fileHeader : {true, false}) {
        formats::BmpOptions options{
            .format = format, .header = header, .fileHeader = fileHeader, .palette = {}};
        auto image =
            LoadBmpImage(WriteTempFile("writer.bmp", formats::EncodeBmp(picture, options)).c_str());
        ASSERT_NE(image, nullptr) << int(format) << int(header) << fileHeader;
        EXPECT_EQ(image->width, 5);
        EXPECT_EQ(image->height, 3);
        EXPECT_EQ(image->pixels, picture.rgb) << int(format) << int(header) << fileHeader;
      }
    }
  }
  EXPECT_TRUE(shown.empty());
}

}  // namespace
