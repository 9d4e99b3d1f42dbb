// Keys of the three menu screens: order within a frame, bounds, consumed keys, leaving screens.
#include "menu/car_selection.h"
#include "menu/track_selection.h"
#include "menu_fixture.h"
#include "race/race.h"
#include "track/track.h"

namespace {

using menu_testing::MenuTest;

void Press(std::initializer_list<int> keys) {
  for (int key : keys) KeyState[key] = true;
}

TEST_F(MenuTest, MainMenuMovesOncePerPressWithoutWrapAround) {
  setUpGame();
  Press({VK_DOWN});
  MainMenuInput();
  EXPECT_EQ(MainMenuChoice, 1);
  EXPECT_FLOAT_EQ(SelectionFrame.y, -0.72f);
  EXPECT_FALSE(KeyState[VK_DOWN]);
  MainMenuInput();  // held without a new key-down: nothing more happens
  Press({VK_DOWN});
  MainMenuInput();  // already on the last entry: the key is only consumed
  EXPECT_EQ(MainMenuChoice, 1);
  EXPECT_FALSE(KeyState[VK_DOWN]);

  Press({VK_DOWN, VK_UP});  // Down first, then Up: back on the start entry
  MainMenuInput();
  EXPECT_EQ(MainMenuChoice, 0);
  EXPECT_FLOAT_EQ(SelectionFrame.y, 0.34f);
  Press({VK_DOWN, VK_UP});
  MainMenuInput();
  EXPECT_EQ(MainMenuChoice, 0);
  EXPECT_FALSE(KeyState[VK_DOWN] || KeyState[VK_UP]);
  EXPECT_FALSE(QuitRequested);
}

TEST_F(MenuTest, MainMenuEnterAndEscape) {
  setUpGame();
  Press({VK_RETURN});
  MainMenuInput();
  EXPECT_EQ(ScreenState, 1);
  EXPECT_FLOAT_EQ(SpinAngle, -30.0f);
  EXPECT_FALSE(QuitRequested);

  ScreenState = 0;
  Press({VK_DOWN, VK_RETURN});
  MainMenuInput();
  EXPECT_TRUE(QuitRequested);
  EXPECT_EQ(ScreenState, 0);

  QuitRequested = false;
  Press({VK_UP, VK_ESCAPE});
  MainMenuInput();
  EXPECT_TRUE(QuitRequested);
  EXPECT_TRUE(KeyState[VK_ESCAPE]);  // ESC is left set: the program ends anyway
}

TEST_F(MenuTest, CarSelectionBoundsAndKeyPairs) {
  setUpGame();
  ScreenState = 1;
  Press({VK_LEFT});
  CarSelectionInput();
  EXPECT_EQ(SelectedCarIndex, 0);
  EXPECT_FALSE(KeyState[VK_LEFT]);

  Press({VK_RIGHT, VK_LEFT});  // cancel out away from the upper bound
  CarSelectionInput();
  EXPECT_EQ(SelectedCarIndex, 0);
  for (int i = 0; i < 4; ++i) {
    Press({VK_RIGHT});
    CarSelectionInput();
  }
  EXPECT_EQ(SelectedCarIndex, 2);
  EXPECT_EQ(SelectedCar, &CarRoster[2]);
  EXPECT_EQ(SelectedCar->name, "FlyingTaco");
  Press({VK_RIGHT, VK_LEFT});  // Right is ignored at the bound, so Left moves
  CarSelectionInput();
  EXPECT_EQ(SelectedCarIndex, 1);
  EXPECT_EQ(SelectedCar, &CarRoster[1]);
  EXPECT_EQ(ScreenState, 1);

  Press({VK_RETURN, VK_ESCAPE});
  CarSelectionInput();
  EXPECT_EQ(ScreenState, 0);
  EXPECT_FLOAT_EQ(SpinAngle, 70.0f);
  EXPECT_FALSE(KeyState[VK_RETURN] || KeyState[VK_ESCAPE]);
}

TEST_F(MenuTest, TrackSelectionEscapeThenEnterStartsTheRace) {
  setUpGame();
  ScreenState = 2;
  Press({VK_RIGHT, VK_RIGHT});  // one key-down is one step
  TrackSelectionInput();
  EXPECT_EQ(SelectedTrackIndex, 1);
  for (int i = 0; i < 3; ++i) {
    Press({VK_RIGHT});
    TrackSelectionInput();
  }
  EXPECT_EQ(SelectedTrack, &TrackTable[2]);
  Press({VK_ESCAPE});
  TrackSelectionInput();
  EXPECT_EQ(ScreenState, 1);

  ScreenState = 2;
  SpinAngle = 12.5f;
  Press({VK_ESCAPE, VK_RETURN});
  TrackSelectionInput();
  EXPECT_EQ(ScreenState, 3);
  EXPECT_EQ(CurrentRace.track, &TrackTable[2]);
  EXPECT_EQ(CurrentRace.player->car, SelectedCar);
  EXPECT_FLOAT_EQ(SpinAngle, 12.5f);
  EXPECT_FALSE(KeyState[VK_ESCAPE] || KeyState[VK_RETURN]);
}

TEST_F(MenuTest, SelectionsSurviveRacesAndAreResetByGameSetup) {
  setUpGame();
  SelectedCarIndex = 1;
  SelectedCar = &CarRoster[1];
  ScreenState = 2;
  Press({VK_RIGHT});
  TrackSelectionInput();
  Press({VK_RETURN});
  TrackSelectionInput();
  ScreenState = 0;  // ESC from the race
  EXPECT_EQ(MainMenuChoice, 0);
  EXPECT_EQ(SelectedCarIndex, 1);
  EXPECT_EQ(SelectedTrackIndex, 1);

  Press({VK_DOWN});
  MainMenuInput();
  MenuTint = {0.7f, 0.9f, 0.6f};
  const float spin = SpinAngle = 33.0f;
  GameSetup();  // as after F1
  EXPECT_EQ(MainMenuChoice, 0);
  EXPECT_FLOAT_EQ(SelectionFrame.y, 0.34f);
  EXPECT_EQ(SelectedCarIndex, 0);
  EXPECT_EQ(SelectedCar, &CarRoster[0]);
  EXPECT_EQ(SelectedTrackIndex, 0);
  EXPECT_EQ(SelectedTrack, &TrackTable[0]);
  EXPECT_FLOAT_EQ(MenuTint.red + MenuTint.green + MenuTint.blue, 3.0f);
  EXPECT_FLOAT_EQ(SpinAngle, spin);
}

}  // namespace
