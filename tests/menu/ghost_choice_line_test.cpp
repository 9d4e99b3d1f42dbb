// The ghost lines of the track selection: drawn only with an imported ghost of the shown track
// and car, at the top, clear of the name, the arrows and the preview; I switches the ghost and
// the line names the ghost raced.
#include "menu_fixture.h"
#include "race/ghost_choice.h"
#include "records/ghost_share.h"
#include "records/ghost_store.h"
#include "records/records_file.h"
#include "support/ghost_paths.h"

namespace {

using menu_testing::MenuTest;
const auto PathOf = [](int32_t steps) { return testing_support::StraightGhost(steps); };

void ImportGhost(const GhostPath& path, const std::string& player) {
  std::string error;
  ASSERT_TRUE(MakePrivateFolders(ImportedGhostFolder(), error));
  ASSERT_TRUE(WriteFileAtomically(
      ImportedGhostFolder() / (player + ".ghost"),
      FormatGhost(path, {player, TrackTable[0].name, CarRoster[0].name}), error));
}

TEST_F(MenuTest, GhostLinesShowOnlyWithAnImportedGhostAtTheTopAndIChoosesIt) {
  const GhostPath path = PathOf(90);
  ImportGhost(path, "Max");
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

TEST_F(MenuTest, TheGhostLineNamesTheGhostRacedOrNone) {
  SelectedTrackIndex = 0;
  SelectedTrack = &TrackTable[0];
  // Only an imported ghost: not raced until I is pressed, and the line says so.
  ImportGhost(PathOf(90), "Max");
  ChosenGhost = GhostChoice();
  trackSelectionFrame(0.0f, &CarRoster[0]);
  EXPECT_EQ(GhostLineText(), "Ghost: none");
  ChosenGhost.switchSource();
  EXPECT_EQ(GhostLineText(), "Ghost: Max, 1.50 seconds");
  ChosenGhost.switchSource();
  // A kept ghost of their own: it is the one named.
  ASSERT_TRUE(GameGhosts.keep(TrackTable[0].name, CarRoster[0].name, PathOf(60)));
  ChosenGhost.forget();
  trackSelectionFrame(0.0f, &CarRoster[0]);
  EXPECT_EQ(GhostLineText(), "Ghost: yours, 1.00 seconds");
  ChosenGhost = GhostChoice();
}

}  // namespace
