// Keys of the three menu screens: order within a frame, bounds, consumed keys, leaving screens,
// and the selections kept across races until GameSetup.
#include <algorithm>

#include "game/players.h"
#include "menu_fixture.h"
#include "race/race.h"
#include "track/file_tracks.h"

namespace {

using menu_testing::MenuTest;

// One frame's input with these keys newly pressed; true if every key was consumed.
bool Input(void (*screenInput)(), std::initializer_list<int> keys) {
  for (int key : keys) KeyState[key] = true;
  screenInput();
  return std::count(KeyState, KeyState + KeyCount, true) == 0;
}

TEST_F(MenuTest, MainMenuKeys) {
  EXPECT_TRUE(Input(MainMenuInput, {VK_DOWN}));
  EXPECT_EQ(MainMenuChoice, 1);
  EXPECT_TRUE(Input(MainMenuInput, {VK_DOWN}));  // no wrap-around
  EXPECT_EQ(MainMenuChoice, 1);
  for (int frame = 0; frame < 2; ++frame) {
    EXPECT_TRUE(Input(MainMenuInput, {VK_DOWN, VK_UP}));  // Down first, then Up
    EXPECT_EQ(MainMenuChoice, 0);
  }
  EXPECT_FLOAT_EQ(SelectionFrame.y, 0.34f);
  Input(MainMenuInput, {VK_RETURN});
  EXPECT_EQ(ScreenState, 1);
  EXPECT_FLOAT_EQ(SpinAngle, -30.0f);
  EXPECT_FALSE(QuitRequested);
  ScreenState = screen::MainMenu;
  Input(MainMenuInput, {VK_DOWN, VK_RETURN});  // Enter on the quit entry
  EXPECT_TRUE(QuitRequested);
  EXPECT_EQ(ScreenState, screen::MainMenu);
  QuitRequested = false;
  Input(MainMenuInput, {VK_ESCAPE});
  EXPECT_TRUE(QuitRequested);
}

TEST_F(MenuTest, CarSelectionKeys) {
  EXPECT_TRUE(Input(CarSelectionInput, {VK_LEFT}));            // at the lower bound
  EXPECT_TRUE(Input(CarSelectionInput, {VK_RIGHT, VK_LEFT}));  // cancel out
  EXPECT_EQ(Players[0].carIndex, 0);
  for (int i = 0; i < 4; ++i) Input(CarSelectionInput, {VK_RIGHT});
  EXPECT_EQ(&Players[0].car(), &CarRoster[2]);
  Input(CarSelectionInput, {VK_RIGHT, VK_LEFT});  // Right ignored at the bound, Left moves
  EXPECT_EQ(std::tuple(Players[0].carIndex, &Players[0].car()), std::tuple(1, &CarRoster[1]));
  ScreenState = screen::CarSelection;
  EXPECT_TRUE(Input(CarSelectionInput, {VK_RETURN, VK_ESCAPE}));
  EXPECT_EQ(ScreenState, 0);
  EXPECT_FLOAT_EQ(SpinAngle, 70.0f);
}

TEST_F(MenuTest, TrackSelectionKeysStartTheRaceAndGameSetupResetsTheSelections) {
  for (int i = 0; i < 3; ++i) Input(TrackSelectionInput, {VK_RIGHT});
  Input(TrackSelectionInput, {VK_ESCAPE});
  EXPECT_EQ(ScreenState, 1);
  Players[0].carIndex = 1;
  SpinAngle = 12.5f;
  EXPECT_TRUE(Input(TrackSelectionInput, {VK_ESCAPE, VK_RETURN}));  // ESC, then Enter starts
  EXPECT_EQ(ScreenState, 3);
  EXPECT_EQ(std::tuple(Races[0].track, Races[0].player->car),
            std::tuple(&TrackTable[2], &CarRoster[1]));

  // Back from the race the selections are kept; GameSetup (after F1) resets them, not SpinAngle.
  ScreenState = screen::MainMenu;
  EXPECT_EQ(std::tuple(MainMenuChoice, Players[0].carIndex, SelectedTrackIndex),
            std::tuple(0, 1, 2));
  Input(MainMenuInput, {VK_DOWN});
  MenuTint = {0.7f, 0.9f, 0.6f};
  GameSetup();
  ResetMainMenu();
  EXPECT_EQ(MainMenuChoice, 0);
  EXPECT_FLOAT_EQ(SelectionFrame.y, 0.34f);
  EXPECT_EQ(std::tuple(Players[0].carIndex, &Players[0].car()), std::tuple(0, &CarRoster[0]));
  EXPECT_EQ(std::tuple(SelectedTrackIndex, SelectedTrack), std::tuple(0, &TrackTable[0]));
  EXPECT_EQ(MenuTint.red * MenuTint.green * MenuTint.blue, 1.0f);
  EXPECT_FLOAT_EQ(SpinAngle, 12.5f);
}

TEST_F(MenuTest, WithFileTracksLeftAndRightGoRoundAllTracks) {
  DefineFileTracks();  // the folders' own files first: the selection then keeps these
  TrackCount = 5;      // two tracks read from files after the built-in three
  Input(TrackSelectionInput, {VK_LEFT});
  EXPECT_EQ(std::tuple(SelectedTrackIndex, SelectedTrack), std::tuple(4, &TrackTable[4]));
  Input(TrackSelectionInput, {VK_RIGHT});
  EXPECT_EQ(std::tuple(SelectedTrackIndex, SelectedTrack), std::tuple(0, &TrackTable[0]));
  for (int i = 0; i < 3; ++i) Input(TrackSelectionInput, {VK_RIGHT});
  EXPECT_EQ(SelectedTrackIndex, 3);
  TrackCount = 3;
  SelectedTrackIndex = 0;
  SelectedTrack = &TrackTable[0];
}

}  // namespace
