// GameSetup with the Data files present: pictures and models loaded, and loaded again into a
// fresh context after a display-mode toggle.
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"
#include "menu/menu_fixture.h"
#include "platform/gl_context_generation.h"

namespace {

using menu_testing::MenuTest;

TEST_F(MenuTest, PresentFilesAreLoadedAgainAfterAToggle) {
  // A single triangle round the origin, 100 units across.
  formats::Ms3dMesh triangle;
  triangle.vertices = {{0, {-50, -50, 0}}, {0, {50, -50, 0}}, {0, {0, 50, 0}}};
  triangle.triangles.push_back({.vertexIndices = {0, 1, 2}});
  triangle.groups.emplace_back().triangleIndices = {0};
  ASSERT_TRUE(formats::WriteBmpFile("Data/menuMain.bmp", formats::Picture(64, 64, {200, 40, 40})));
  ASSERT_TRUE(formats::WriteMs3dFile("Data/wingman.ms3d", triangle));
  ASSERT_TRUE(formats::WriteMs3dFile("Data/flyingtaco.ms3d", triangle));
  GameSetup();
  const uint32_t firstTexture = MenuMainTexture;
  EXPECT_NE(firstTexture, 0);
  EXPECT_EQ(MenuCarTexture, 0);
  EXPECT_NE(CarRoster[0].model.displayList, 0u);
  EXPECT_EQ(CarRoster[1].model.displayList, 0u);  // pizzacar missing: name and values kept
  EXPECT_EQ(std::tuple(CarRoster[1].name, CarRoster[1].health), std::tuple("911PIZ", 4.5f));
  EXPECT_NE(CarRoster[2].model.displayList, 0u);
  SpinAngle = 0.0f;
  DrawCarSelection();
  EXPECT_EQ(pixel(219, 330), (std::array<unsigned char, 3>{255, 255, 255}));  // the car

  platform::AdvanceGlContextGeneration();  // as after F1, in a fresh context
  GameSetup();
  EXPECT_NE(MenuMainTexture, 0);
  EXPECT_NE(MenuMainTexture, firstTexture);
  EXPECT_NE(CarRoster[0].model.displayList, 0u);
  EXPECT_EQ(CarRoster[0].name, "SMiLE");
}

}  // namespace
