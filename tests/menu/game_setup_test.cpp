// GameSetup: the roster and menu state it leaves, with the Data files missing or present, and
// again after a display-mode toggle.
#include "formats/bmp_writer.h"
#include "formats/ms3d_writer.h"
#include "menu/car_selection.h"
#include "menu_fixture.h"
#include "platform/gl_context_generation.h"
#include "track/track.h"

namespace {

using menu_testing::MenuTest;

// A single white-lit triangle round the origin, 100 units across.
formats::Ms3dMesh Triangle() {
  formats::Ms3dMesh mesh;
  for (auto position : {std::array<float, 3>{-50, -50, 0}, {50, -50, 0}, {0, 50, 0}}) {
    formats::Ms3dVertex vertex;
    vertex.position = position;
    mesh.vertices.push_back(vertex);
  }
  formats::Ms3dTriangle triangle;
  triangle.vertexIndices = {0, 1, 2};
  mesh.triangles.push_back(triangle);
  formats::Ms3dGroup group;
  group.triangleIndices = {0};
  mesh.groups.push_back(group);
  return mesh;
}

TEST_F(MenuTest, MissingFilesLeaveTexturesZeroAndModelsEmpty) {
  setUpGame();
  EXPECT_EQ(MenuMainTexture + MenuCarTexture + MenuTrackTexture, 0u);
  const char* names[] = {"SMiLE", "911PIZ", "FlyingTaco"};
  const float values[][3] = {
      {0.0002f, 0.1f, 8.0f}, {0.00031f, 0.12f, 4.5f}, {0.00018f, 0.08f, 18.0f}};
  for (int slot = 0; slot < 3; ++slot) {
    const Car& car = CarRoster[slot];
    EXPECT_EQ(car.name, names[slot]);
    EXPECT_EQ(car.acceleration, values[slot][0]);
    EXPECT_EQ(car.steering, values[slot][1]);
    EXPECT_EQ(car.health, values[slot][2]);
    EXPECT_EQ(car.model.displayList, 0u);
  }
  const Car& spare = CarRoster[CarRosterSize - 1];
  EXPECT_EQ(spare.name, "Peace");
  EXPECT_EQ(spare.model.displayList, 0u);
  EXPECT_EQ(SelectedCar, &CarRoster[0]);
  EXPECT_EQ(SelectedTrack, &TrackTable[0]);
  EXPECT_EQ(MainMenuChoice, 0);
  EXPECT_EQ(MenuTint.red * MenuTint.green * MenuTint.blue, 1.0f);
  // Every screen still draws.
  DrawMainMenu();
  DrawCarSelection();
}

TEST_F(MenuTest, PresentFilesAreLoadedAgainAfterAToggle) {
  ASSERT_TRUE(formats::WriteBmpFile((dataDir() / "menuMain.bmp").string(),
                                    formats::Picture(64, 64, {200, 40, 40})));
  ASSERT_TRUE(formats::WriteMs3dFile((dataDir() / "wingman.ms3d").string(), Triangle()));
  ASSERT_TRUE(formats::WriteMs3dFile((dataDir() / "flyingtaco.ms3d").string(), Triangle()));
  setUpGame();
  const uint32_t firstTexture = MenuMainTexture;
  EXPECT_NE(firstTexture, 0u);
  EXPECT_EQ(MenuCarTexture, 0u);
  EXPECT_NE(CarRoster[0].model.displayList, 0u);
  EXPECT_EQ(CarRoster[1].model.displayList, 0u);  // pizzacar missing: name and values kept
  EXPECT_EQ(CarRoster[1].name, "911PIZ");
  EXPECT_EQ(CarRoster[1].health, 4.5f);
  EXPECT_NE(CarRoster[2].model.displayList, 0u);

  SpinAngle = 0.0f;
  DrawCarSelection();
  EXPECT_EQ(pixel(219, 330), (std::array<unsigned char, 3>{255, 255, 255}));  // the car

  platform::AdvanceGlContextGeneration();  // as after F1, in a fresh context
  GameSetup();
  EXPECT_NE(MenuMainTexture, 0u);
  EXPECT_NE(MenuMainTexture, firstTexture);
  EXPECT_NE(CarRoster[0].model.displayList, 0u);
  EXPECT_EQ(CarRoster[0].name, "SMiLE");
}

}  // namespace
