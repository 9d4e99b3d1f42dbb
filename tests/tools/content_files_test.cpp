// The generated Data folder: every file the game opens loads through the game's own loaders
// without a message, pictures have usable sizes and tile where they repeat, models sit where
// the scene draws them, and the generator gives the same bytes on every run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "assets/bmp_image.h"
#include "assets/model.h"
#include "assets/ms3d_format.h"
#include "content/content_generator.h"
#include "content/models.h"
#include "support/bmp_bytes.h"
#include "support/box_recorder.h"
#include "support/gl_fixture.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;

// Generated once per process into the temp folder and removed at exit; empty if that failed.
const std::string& DataFolder() {
  struct Folder {
    fs::path root = fs::temp_directory_path() / ("quillon-content-" + std::to_string(getpid()));
    std::string data;
    Folder() {
      fs::remove_all(root);
      if (content::GenerateContent((root / "Data").string())) data = (root / "Data").string();
    }
    ~Folder() {
      std::error_code ec;
      fs::remove_all(root, ec);
    }
  };
  static const Folder folder;
  return folder.data;
}

std::string PathOf(const std::string& name) {
  return DataFolder() + "/" + name;
}

Ms3dMesh ParseModel(const char* name) {
  Ms3dMesh mesh;
  auto bytes = ReadBytes(PathOf(name));
  EXPECT_TRUE(ParseMs3d(bytes.data(), bytes.size(), "", mesh)) << name;
  return mesh;
}

using ContentFiles = testing_support::GlTest;

TEST_F(ContentFiles, EveryFileLoadsSilentlyWithTexturesAndPowerOfTwoSides) {
  ASSERT_FALSE(DataFolder().empty()) << "the generator failed";
  testing_support::BoxRecorder boxes;
  const std::vector<std::string>& messages = boxes.texts;
  // Every picture the game opens, with the size it is shown at ({0, 0}: any power of two).
  std::map<std::string, std::pair<int, int>> pictures = {{"Road.bmp", {256, 256}},
                                                         {"border2.bmp", {128, 64}}};
  for (const char* name : {"menuMain.bmp", "menuCar.bmp", "menuTrack.bmp"})
    pictures[name] = {512, 512};
  for (const char* name : {"Sky.bmp", "SkyBleuetForet.bmp", "SkyNocturne.bmp"})
    pictures[name] = {1024, 1024};
  for (const char* name : {"Road2.bmp", "border.bmp", "border1.bmp"}) pictures[name] = {0, 0};
  for (const char* name : {"wingman.ms3d", "pizzacar.ms3d", "flyingtaco.ms3d", "bannerStart.ms3d",
                           "bannerStart1.ms3d", "bannerStart2.ms3d"}) {
    Model model;
    ASSERT_TRUE(model.load(PathOf(name).c_str())) << name;
    EXPECT_GT(model.triangleCount(), 50) << name;
    ASSERT_GE(model.materialCount(), 1) << name;
    for (const ModelMaterial& m : model.materials) {
      std::string skin = m.texture;
      EXPECT_NE(m.textureId, 0u) << name << ": " << skin;
      ASSERT_EQ(skin.rfind(DataFolder() + "/", 0), 0u) << name << " names " << skin;
      pictures.emplace(skin.substr(DataFolder().size() + 1), std::pair{0, 0});
    }
  }
  auto powerOfTwo = [](int v) { return v > 0 && (v & (v - 1)) == 0; };
  for (const auto& [name, size] : pictures) {
    auto image = LoadBmpImage(PathOf(name).c_str());
    ASSERT_TRUE(image) << name;
    EXPECT_TRUE(powerOfTwo(image->width)) << name << " is " << image->width << "x" << image->height;
    EXPECT_TRUE(powerOfTwo(image->height))
        << name << " is " << image->width << "x" << image->height;
    if (size.first) {
      EXPECT_EQ(std::pair(image->width, image->height), size) << name;
    }
  }
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST(ContentGenerator, GivesTheSameBytesOnEveryRunAndReportsAFolderItCannotWrite) {
  ASSERT_FALSE(DataFolder().empty());
  std::set<std::string> names;
  for (const auto& file : content::BuildContent()) {  // a second run
    EXPECT_TRUE(names.insert(file.name).second) << file.name << " twice";
    EXPECT_TRUE(ReadBytes(PathOf(file.name)) == file.bytes) << file.name;
  }
  std::string error;
  EXPECT_FALSE(content::GenerateContent("/proc/quillon-no-such-folder/Data", &error));
  EXPECT_FALSE(error.empty());
}

TEST(ContentGenerator, UsesEveryMainPixelFormat) {
  std::set<std::tuple<int, int, int>> kinds;  // bits per pixel, compression, header size
  for (const auto& entry : fs::directory_iterator(DataFolder())) {
    if (entry.path().extension() != ".bmp") continue;
    auto b = ReadBytes(entry.path().string());
    size_t h = (b[0] == 'B' && b[1] == 'M') ? 14 : 0;
    bool core = b[h] == 12;
    kinds.insert({core ? b[h + 10] : b[h + 14], core ? 0 : b[h + 16], b[h]});
  }
  for (auto kind : {std::tuple{24, 0, 40},
                    {32, 0, 40},
                    {8, 0, 40},
                    {8, 1, 40},
                    {4, 0, 40},
                    {4, 2, 40},
                    {16, 0, 40},
                    {24, 0, 12}})
    EXPECT_TRUE(kinds.count(kind)) << std::get<0>(kind) << " bits, compression "
                                   << std::get<1>(kind) << ", header " << std::get<2>(kind);
}

// Mean absolute channel difference between lines a and b (columns when vertical, else rows).
double LineDifference(const RgbImage& image, bool vertical, int a, int b) {
  long total = 0;
  int count = vertical ? image.height : image.width;
  for (int i = 0; i < count; ++i)
    for (int c = 0; c < 3; ++c) {
      size_t pa = vertical ? size_t(i) * image.width + a : size_t(a) * image.width + i;
      size_t pb = vertical ? size_t(i) * image.width + b : size_t(b) * image.width + i;
      total += std::abs(int(image.pixels[pa * 3 + c]) - int(image.pixels[pb * 3 + c]));
    }
  return double(total) / (count * 3);
}

// Skies repeat across their left and right edges, roads along their length, kerbs along the
// wall. The pictures are grainy, so the seam is also compared with neighbouring lines.
TEST(ContentTiling, RepeatingPicturesMeetThemselvesWithoutASeam) {
  struct Case {
    const char* name;
    bool acrossWidth;
    double maxSeam;
  };
  for (auto [name, across, maxSeam] : {Case{"Sky.bmp", true, 12},
                                       {"SkyBleuetForet.bmp", true, 12},
                                       {"SkyNocturne.bmp", true, 12},
                                       {"Road.bmp", false, 12},
                                       {"Road2.bmp", false, 12},
                                       {"border.bmp", true, 4},
                                       {"border1.bmp", true, 4},
                                       {"border2.bmp", true, 4}}) {
    auto image = LoadBmpImage(PathOf(name).c_str());
    ASSERT_TRUE(image) << name;
    int lines = across ? image->width : image->height;
    double neighbour = 0;
    for (int i = 0; i + 1 < lines; ++i)
      neighbour += LineDifference(*image, across, i, i + 1) / (lines - 1);
    double seam = LineDifference(*image, across, 0, lines - 1);
    EXPECT_LT(seam, maxSeam) << name;
    EXPECT_LT(seam, 1.5 * neighbour + 1.0) << name << ": neighbours differ by " << neighbour;
  }
}

// Chase view: the car is drawn at 1/400, turned 180 degrees about y, tilted -8 degrees about x
// and moved by (-0.025, -0.07, -0.13); every point must stay beyond the near plane at 0.1.
TEST(ContentModels, CarsSitOnTheRoadInFrontOfTheNearPlane) {
  const float tilt = -8.0f * 3.14159265f / 180;
  for (const char* name : {"wingman.ms3d", "pizzacar.ms3d", "flyingtaco.ms3d"}) {
    float lowest = 1e9f, nearest = 1e9f, longest = 0;
    for (const ModelVertex& v : ParseModel(name).vertices) {
      const float* p = v.position;
      lowest = std::min(lowest, p[1]);
      nearest =
          std::min(nearest, 0.13f + 0.0025f * (p[1] * std::sin(tilt) + p[2] * std::cos(tilt)));
      longest = std::max(longest, std::hypot(p[0], p[2]));
    }
    EXPECT_GT(nearest, 0.102f) << name << " is cut by the near plane";
    EXPECT_GE(lowest, content::kCarGroundY - 0.01f) << name << " sinks into the road";
    EXPECT_LT(lowest, content::kCarGroundY + 6) << name << " floats too high";
    EXPECT_LT(longest, 62) << name << " leaves the car selection's space while turning";
  }
}

TEST(ContentModels, BannersSpanTheRoadHighEnoughToDriveUnder) {
  for (const char* name : {"bannerStart.ms3d", "bannerStart1.ms3d", "bannerStart2.ms3d"}) {
    Ms3dMesh mesh = ParseModel(name);
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const ModelVertex& v : mesh.vertices) {
      minX = std::min(minX, v.position[0]);
      maxX = std::max(maxX, v.position[0]);
      minY = std::min(minY, v.position[1]);
      maxY = std::max(maxY, v.position[1]);
    }
    EXPECT_LT(minX, -content::kBannerRoadHalfWidth) << name;
    EXPECT_GT(maxX, content::kBannerRoadHalfWidth) << name;
    EXPECT_NEAR(minY, content::kBannerRoadY, 1.0f) << name;
    EXPECT_GT(maxY - content::kBannerRoadY, 40) << name;  // the chase camera is 13.7 units up
    bool plainGroup = false;
    for (const ModelGroup& g : mesh.groups) plainGroup |= g.materialIndex < 0;
    EXPECT_TRUE(plainGroup) << name << " has no group without a material";
  }
}

}  // namespace
