// The ghost lines of the track selection: drawn only with an imported ghost of the shown track
// and car, at the top, clear of the name, the arrows and the preview; I switches the ghost.
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
  LineMarks marks;
  for (int i = 0; i < 24; ++i) {
    const float spin = i < 12 ? i / 3.0f : 30.0f * (i - 12);
    addLineMarks(trackSelectionFrame(spin, &CarRoster[0]), trackSelectionFrame(spin, &CarRoster[1]),
                 520, 600, marks);
  }
  EXPECT_GT(marks.pixels, 100 * 24);
  EXPECT_EQ(marks.touching, 0);
  EXPECT_EQ(marks.covering, 0);
  EXPECT_EQ(marks.outsideBand, 0);

  // I: the imported ghost is the one raced, and the line says whose it is.
  const auto own = trackSelectionFrame(0.0f, &CarRoster[0]);
  EXPECT_FALSE(ChosenGhost.racesImported());
  const auto screen = ScreenState;
  KeyState[0x49] = true;
  TrackSelectionInput();
  EXPECT_FALSE(KeyState[0x49]);
  EXPECT_TRUE(ChosenGhost.racesImported());
  EXPECT_EQ(ChosenGhost.whose(), "Max");
  EXPECT_EQ(ChosenGhost.ghost(), path);
  EXPECT_NE(trackSelectionFrame(0.0f, &CarRoster[0]), own);
  EXPECT_EQ(ScreenState, screen);
  ChosenGhost = GhostChoice();
}

}  // namespace
