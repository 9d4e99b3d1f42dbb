// The ghost lines of the track selection: drawn only with an imported ghost of the shown track
// and car, at the top, clear of the name, the arrows and the preview; I switches the ghost.
#include <algorithm>

#include "menu_fixture.h"
#include "race/ghost_choice.h"
#include "records/ghost_share.h"
#include "records/records_file.h"

namespace {

using menu_testing::MenuTest;

TEST_F(MenuTest, GhostLinesShowOnlyWithAnImportedGhostAtTheTopAndIChoosesIt) {
  GhostPath path;
  for (int i = 0; i < 90; ++i) path.poses.push_back({0.1f * static_cast<float>(i)});
  path.lapSteps = {45, 90};
  std::string error;
  ASSERT_TRUE(MakePrivateFolders(ImportedGhostFolder(), error));
  ASSERT_TRUE(WriteFileAtomically(ImportedGhostFolder() / "friend.ghost",
                                  FormatGhost(path, {"Max", TrackTable[0].name, CarRoster[0].name}),
                                  error));
  ChosenGhost = GhostChoice();
  SelectedTrackIndex = 0;
  SelectedTrack = &TrackTable[0];
  auto frame = [this](float spin, Car* car) {
    SelectedCar = car;
    SpinAngle = spin;
    MenuTint = {1.0f, 1.0f, 1.0f};
    DrawTrackSelection();
    glFinish();
    return framebuffer();
  };
  auto kind = [](const unsigned char* p) {  // 0 background, 1 preview, 2 anything else
    const int rgb = p[0] << 16 | p[1] << 8 | p[2];
    return rgb == 0xFFFFFF || rgb == 0 ? 0 : rgb == 0x9999FF || rgb == 0xFFFF00 ? 1 : 2;
  };
  int linePixels = 0, touching = 0, covering = 0, belowTheBand = 0;
  for (int i = 0; i < 24; ++i) {
    const float spin = i < 12 ? i / 3.0f : 30.0f * (i - 12);
    const auto without = frame(spin, &CarRoster[1]), with = frame(spin, &CarRoster[0]);
    for (int y = 1; y < 599; ++y)
      for (int x = 1; x < 799; ++x) {
        const size_t at = (size_t(y) * 800 + x) * 3;
        if (std::equal(&with[at], &with[at] + 3, &without[at])) continue;
        ++linePixels;
        belowTheBand += y < 520;
        covering += kind(&without[at]) != 0;
        for (int d : {-801, -800, -799, -1, 1, 799, 800, 801})
          touching += kind(&without[at] + 3 * d) == 2;
      }
  }
  EXPECT_GT(linePixels, 100 * 24);
  EXPECT_EQ(touching, 0);
  EXPECT_EQ(covering, 0);
  EXPECT_EQ(belowTheBand, 0);

  // I: the imported ghost is the one raced, and the line says whose it is.
  const auto own = frame(0.0f, &CarRoster[0]);
  EXPECT_FALSE(ChosenGhost.racesImported());
  const auto screen = ScreenState;
  KeyState[0x49] = true;
  TrackSelectionInput();
  EXPECT_FALSE(KeyState[0x49]);
  EXPECT_TRUE(ChosenGhost.racesImported());
  EXPECT_EQ(ChosenGhost.whose(), "Max");
  EXPECT_EQ(ChosenGhost.ghost(), path);
  EXPECT_NE(frame(0.0f, &CarRoster[0]), own);
  EXPECT_EQ(ScreenState, screen);
  ChosenGhost = GhostChoice();
}

}  // namespace
