// The generated content: every file the game opens exists, loads through the game's own
// loaders without a message, has power-of-two pictures, and comes out the same on every run.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "assets/bmp_image.h"
#include "assets/ms3d_format.h"
#include "content/content_generator.h"
#include "content/models.h"
#include "content_test_support.h"
#include "platform/message_box.h"

namespace {

using content_testing::GameModelNames;
using content_testing::GamePictureNames;
using content_testing::GeneratedDataFolder;

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool PowerOfTwo(int v) {
  return v > 0 && (v & (v - 1)) == 0;
}

class RecordedMessages : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(GeneratedDataFolder().empty()) << "the generator failed";
    platform::SetMessageBoxHandler(
        [this](const std::string& text, const std::string&, platform::Buttons, platform::Icon) {
          messages.push_back(text);
          return platform::Answer::Ok;
        });
  }
  void TearDown() override { platform::SetMessageBoxHandler(nullptr); }
  std::vector<std::string> messages;
};

using ContentPictures = RecordedMessages;

TEST_F(ContentPictures, EveryPictureLoadsSilentlyWithPowerOfTwoSides) {
  std::set<std::string> skins;
  for (const std::string& model : GameModelNames()) {
    Ms3dMesh mesh;
    auto bytes = ReadFile(GeneratedDataFolder() + "/" + model);
    ASSERT_TRUE(ParseMs3d(bytes.data(), bytes.size(), "D", mesh)) << model;
    for (const ModelMaterial& m : mesh.materials) {
      ASSERT_EQ(std::string(m.texture).rfind("D/", 0), 0u) << model << " names " << m.texture;
      skins.insert(std::string(m.texture).substr(2));
    }
  }
  std::vector<std::string> names = GamePictureNames();
  names.insert(names.end(), skins.begin(), skins.end());
  for (const std::string& name : names) {
    auto image = LoadBmpImage((GeneratedDataFolder() + "/" + name).c_str());
    ASSERT_TRUE(image) << name;
    EXPECT_TRUE(PowerOfTwo(image->width) && PowerOfTwo(image->height))
        << name << " is " << image->width << "x" << image->height;
    EXPECT_EQ(image->pixels.size(), size_t(3) * image->width * image->height) << name;
  }
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(ContentPictures, SizesFitWhereTheGameShowsThem) {
  auto size = [](const std::string& name) {
    auto image = LoadBmpImage((GeneratedDataFolder() + "/" + name).c_str());
    return image ? std::pair{image->width, image->height} : std::pair{0, 0};
  };
  for (const char* menu : {"menuMain.bmp", "menuCar.bmp", "menuTrack.bmp"})
    EXPECT_EQ(size(menu), (std::pair{512, 512})) << menu;  // a square quad on screen
  for (const char* sky : {"Sky.bmp", "SkyBleuetForet.bmp", "SkyNocturne.bmp"})
    EXPECT_EQ(size(sky), (std::pair{1024, 1024})) << sky;
  EXPECT_EQ(size("Road.bmp"), (std::pair{256, 256}));
  EXPECT_EQ(size("border2.bmp"), (std::pair{128, 64}));
}

TEST_F(ContentPictures, TheSetUsesEveryMainPixelFormat) {
  // (bits per pixel, compression, header size) of every picture written.
  std::set<std::tuple<int, int, int>> kinds;
  for (const auto& entry : std::filesystem::directory_iterator(GeneratedDataFolder())) {
    if (entry.path().extension() != ".bmp") continue;
    auto b = ReadFile(entry.path().string());
    size_t h = (b[0] == 'B' && b[1] == 'M') ? 14 : 0;
    int headerSize = b[h];
    int bits = headerSize == 12 ? b[h + 10] : b[h + 14];
    int compression = headerSize == 12 ? 0 : b[h + 16];
    kinds.insert({bits, compression, headerSize});
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

TEST(ContentGenerator, TwoRunsGiveTheSameBytes) {
  // The shared folder was written by one run; this is a second one.
  ASSERT_FALSE(GeneratedDataFolder().empty());
  auto files = content::BuildContent();
  std::set<std::string> names;
  for (const auto& file : files) {
    EXPECT_TRUE(names.insert(file.name).second) << file.name << " twice";
    EXPECT_TRUE(ReadFile(GeneratedDataFolder() + "/" + file.name) == file.bytes) << file.name;
  }
  for (const auto& name : GamePictureNames()) EXPECT_TRUE(names.count(name)) << name;
  for (const auto& name : GameModelNames()) EXPECT_TRUE(names.count(name)) << name;
}

TEST(ContentGenerator, ReportsAFolderItCannotWrite) {
  std::string error;
  EXPECT_FALSE(content::GenerateContent("/proc/quillon-no-such-folder/Data", &error));
  EXPECT_FALSE(error.empty());
}

// Chase view: the model is drawn at 1/400, turned 180 degrees about y and tilted -8 degrees
// about x, then moved by (-0.025, -0.07, -0.13); its eye depth must stay beyond the near plane.
double ChaseEyeDepth(const float (&p)[3]) {
  const double a = -8.0 * 3.14159265358979 / 180;
  double z = p[1] * std::sin(a) + p[2] * std::cos(a);
  return 0.13 + 0.0025 * z;  // turned 180 degrees: eye z = -0.13 - 0.0025 * z
}

TEST(ContentModels, CarsStayInFrontOfTheNearPlaneAndOnTheRoad) {
  for (const char* name : {"wingman.ms3d", "pizzacar.ms3d", "flyingtaco.ms3d"}) {
    Ms3dMesh mesh;
    auto bytes = ReadFile(GeneratedDataFolder() + "/" + name);
    ASSERT_TRUE(ParseMs3d(bytes.data(), bytes.size(), "", mesh)) << name;
    float lowest = 1e9f, nearest = 1e9f, longest = 0;
    for (const ModelVertex& v : mesh.vertices) {
      lowest = std::min(lowest, v.position[1]);
      nearest = std::min(nearest, static_cast<float>(ChaseEyeDepth(v.position)));
      longest = std::max(longest, std::hypot(v.position[0], v.position[2]));
    }
    EXPECT_GT(nearest, 0.1f + 0.002f) << name << " is cut by the near plane";
    EXPECT_GE(lowest, content::kCarGroundY - 0.01f) << name << " sinks into the road";
    EXPECT_LT(lowest, content::kCarGroundY + 6) << name << " floats too high";
    // Turning in the car selection (1/125 scale at depth 1.2) it stays about on screen.
    EXPECT_LT(longest, 62) << name;
  }
}

TEST(ContentModels, BannersSpanTheRoadAndStandOnIt) {
  for (const char* name : {"bannerStart.ms3d", "bannerStart1.ms3d", "bannerStart2.ms3d"}) {
    Ms3dMesh mesh;
    auto bytes = ReadFile(GeneratedDataFolder() + "/" + name);
    ASSERT_TRUE(ParseMs3d(bytes.data(), bytes.size(), "", mesh)) << name;
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
    // High enough to drive under with the chase camera (0.137 world units, 13.7 banner units).
    EXPECT_GT(maxY - content::kBannerRoadY, 40) << name;
    bool plainGroup = false;
    for (const ModelGroup& g : mesh.groups) plainGroup |= g.materialIndex < 0;
    EXPECT_TRUE(plainGroup) << name << " has no group without a material";
  }
}

}  // namespace
