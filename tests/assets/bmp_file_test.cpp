// Reading bitmap files: the open check and the "Error" message of every failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "assets/bmp_image.h"
#include "support/bmp_bytes.h"
#include "support/box_recorder.h"

namespace {

using testing_support::BuildDib;
using testing_support::Bytes;
using testing_support::WriteTempFile;
using Texts = std::vector<std::string>;

class BmpFileTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(boxes.okOnly); }
  // The texts shown since the last call, each under "Error".
  Texts shown() {
    EXPECT_EQ(boxes.captions, Texts(boxes.texts.size(), "Error"));
    Texts texts = boxes.texts;
    boxes.texts.clear();
    boxes.captions.clear();
    return texts;
  }

  testing_support::BoxRecorder boxes;
};

TEST_F(BmpFileTest, MissingFileOrNullNameGivesNothingAndSaysNothing) {
  EXPECT_EQ(LoadBmpImage((::testing::TempDir() + "no_such_picture.bmp").c_str()), nullptr);
  EXPECT_EQ(LoadBmpImage(nullptr), nullptr);
  // A folder, a FIFO (opening it would wait for a writer forever) and a device (endless) count
  // as missing: nothing is read from them.
  const std::string folder = ::testing::TempDir() + "quillon_folder.bmp";
  const std::string fifo = ::testing::TempDir() + "quillon_fifo.bmp";
  mkdir(folder.c_str(), 0700);
  mkfifo(fifo.c_str(), 0600);
  for (const std::string& special : {folder, fifo, std::string("/dev/zero")}) {
    EXPECT_EQ(LoadBmpImage(special.c_str()), nullptr) << special;
  }
  EXPECT_TRUE(shown().empty());
  // A file of 4 GiB (sparse) is read only as far as its header allows: its 2 by 2 picture.
  const std::string huge =
      WriteTempFile("huge.bmp", BuildDib({.width = 2, .height = 2, .pixelData = Bytes(16, 9)}));
  ASSERT_EQ(truncate(huge.c_str(), off_t{4} << 30), 0);
  const auto image = LoadBmpImage(huge.c_str());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->pixels, Bytes(12, 9));
  unlink(huge.c_str());
  EXPECT_TRUE(shown().empty());
}

TEST_F(BmpFileTest, EachFailureShowsItsMessageUnderError) {
  const std::string empty = WriteTempFile("empty.bmp", {});
  const std::string longName = ::testing::TempDir() + std::string(300, 'x') + ".bmp";
  for (const auto& [file, text] : std::vector<std::pair<std::string, std::string>>{
           {empty, "Failed to open DIB file " + empty + ".\n"},
           {longName, ("Failed to open DIB file " + longName).substr(0, 255)}}) {
    EXPECT_EQ(file == longName ? ReadDibFile(file.c_str()) : LoadBmpImage(file.c_str()), nullptr);
    EXPECT_EQ(shown(), Texts{text});
  }
  // A side over the caller's limit (the texture loader passes OpenGL's) is a conversion error.
  const std::string wide = WriteTempFile(
      "wide.bmp", BuildDib({.width = 3, .pixelData = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));
  EXPECT_EQ(LoadBmpImage(wide.c_str(), 2), nullptr);
  EXPECT_EQ(shown(), Texts{"Image file conversion error."});
  EXPECT_NE(LoadBmpImage(wide.c_str(), 3), nullptr);
}

}  // namespace
