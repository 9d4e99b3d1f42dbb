// Player two on the car selection: joining with their own accelerate (keyboard or second pad),
// leaving by their brake held a second or their pad's Back, the cars chosen in turn, the line
// naming who joined clear of the name, arrows and car, and the screen as before once they left.
#include <filesystem>
#include <fstream>
#include <vector>

#include "content/content_generator.h"
#include "game/action_input.h"
#include "game/players.h"
#include "menu/second_player_join.h"
#include "menu_fixture.h"
#include "platform/scripted_window_system.h"

namespace {

// Records what the game tells the window system about the pads.
struct PadKeeping : platform::ScriptedWindowSystem {
  void setPadsKeepPlayers(bool keep) override { kept.push_back(keep); }
  std::vector<bool> kept;
};

class SecondPlayerTest : public menu_testing::MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    GameControls(2).reset();
    ScreenState = screen::CarSelection;
  }
  void TearDown() override {
    platform::SetWindowSystem(nullptr);
    SetSecondPlayer(PlayerInput::None);
    CarChooser = 1;
    MenuTest::TearDown();
  }
  // Frames with a key held down, then one with it let go (a tap is one frame held).
  void hold(int key, int frames = 1) {
    for (int i = 0; i < frames; ++i) {
      KeyState[key] = true;
      CarSelectionInput();
    }
    KeyState[key] = false;
    CarSelectionInput();
  }
  std::vector<unsigned char> carFrame(float spin) { return selectionFrame(spin, DrawCarSelection); }
};

TEST_F(SecondPlayerTest, JoinWithTheirAccelerateLeaveWithBrakeHeldASecondOrThePadsBack) {
  PadKeeping system;
  platform::SetWindowSystem(&system);
  hold('S');
  hold(VK_GAMEPAD_A);  // the first pad's A is player one's Enter, never a join
  EXPECT_EQ(std::tuple(Players[1].input, ScreenState),
            std::tuple(PlayerInput::None, screen::TrackSelection));
  ScreenState = screen::CarSelection;
  KeyState['W'] = true;
  CarSelectionInput();
  EXPECT_FALSE(KeyState['W']);  // taken
  EXPECT_EQ(std::tuple(Players[1].input, ScreenState),
            std::tuple(PlayerInput::Keyboard, screen::CarSelection));
  hold('S', LeaveHoldFrames - 1);  // a frame short of a second, twice: the count starts again
  hold('S', LeaveHoldFrames - 1);
  hold(VK_GAMEPAD_VIEW + SecondPadKeys);  // a pad's Back: not how the keyboard player leaves
  EXPECT_EQ(Players[1].input, PlayerInput::Keyboard);
  hold('S', LeaveHoldFrames);
  EXPECT_EQ(std::tuple(Players[1].input, ScreenState),
            std::tuple(PlayerInput::None, screen::CarSelection));

  hold(VK_GAMEPAD_A + SecondPadKeys);  // the second pad
  EXPECT_EQ(Players[1].input, PlayerInput::Pad);
  hold(VK_GAMEPAD_VIEW + SecondPadKeys);  // leaves (and is no Escape for the screen)
  hold(VK_GAMEPAD_A + SecondPadKeys);
  hold(VK_GAMEPAD_B + SecondPadKeys, LeaveHoldFrames - 1);
  EXPECT_EQ(Players[1].input, PlayerInput::Pad);
  hold(VK_GAMEPAD_B + SecondPadKeys, LeaveHoldFrames);
  EXPECT_EQ(std::tuple(Players[1].input, ScreenState),
            std::tuple(PlayerInput::None, screen::CarSelection));
  EXPECT_EQ(system.kept, (std::vector<bool>{true, false, true, false, true, false}));
  platform::SetWindowSystem(nullptr);  // before it goes
}

TEST_F(SecondPlayerTest, EachPlayerChoosesACarInTurnAndStaysJoinedAcrossScreens) {
  for (int key : {int('W'), VK_RIGHT, int('D')}) hold(key);  // D waits for player two's turn
  EXPECT_EQ(std::tuple(Players[0].carIndex, Players[1].carIndex), std::tuple(1, 0));
  hold(VK_RETURN);
  EXPECT_EQ(std::tuple(ScreenState, CarChooser), std::tuple(screen::CarSelection, 2));
  for (int key : {int('D'), VK_RIGHT, int('D'), int('A')}) hold(key);  // stops at the last car
  EXPECT_EQ(std::tuple(Players[1].carIndex, &Players[1].car(), Players[0].carIndex),
            std::tuple(1, &CarRoster[1], 1));
  hold(VK_ESCAPE);  // back to player one's choice, not the main menu
  EXPECT_EQ(std::tuple(ScreenState, CarChooser), std::tuple(screen::CarSelection, 1));
  hold(VK_LEFT);
  hold(VK_RETURN);
  hold('W');  // player two's accelerate takes, as Enter does
  EXPECT_EQ(std::tuple(ScreenState, CarChooser, SpinAngle),
            std::tuple(screen::TrackSelection, 1, 70.0f));
  EXPECT_EQ(std::tuple(&Players[0].car(), &Players[1].car()),
            std::tuple(&CarRoster[0], &CarRoster[1]));

  // Back from the track selection (or a race) the choice starts with player one, still joined.
  KeyState[VK_ESCAPE] = true;
  TrackSelectionInput();
  EXPECT_EQ(ScreenState, screen::CarSelection);
  EXPECT_EQ(CarChooser, 1);
  EXPECT_TRUE(TwoPlayers());
  // Player two leaving in their turn hands the choice back; Enter then goes on at once.
  hold(VK_RETURN);
  hold('S', LeaveHoldFrames);
  EXPECT_FALSE(TwoPlayers());
  EXPECT_EQ(CarChooser, 1);
  hold(VK_RETURN);
  EXPECT_EQ(ScreenState, 2);
}

TEST_F(SecondPlayerTest, TheJoinedLineAloneChangesThePictureClearOfNameArrowsAndCars) {
  for (const auto& file : content::BuildContent()) {  // the shipped cars and pictures
    const auto path = std::filesystem::path("Data") / file.name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.bytes.data()),
               static_cast<std::streamsize>(file.bytes.size()));
  }
  GameSetup();
  const auto before = carFrame(30.0f);
  hold('W');
  hold('S', LeaveHoldFrames);  // player two came and went: the screen is as it was
  EXPECT_EQ(carFrame(30.0f), before);

  // Joined against nobody joined, every car every 15 degrees of its turn (and its name's): only
  // the line differs, in the top left corner, drawn on black with black two pixels round it.
  auto black = [](const unsigned char* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; };
  int linePixels = 0, outsideTheCorner = 0, offBlack = 0;
  for (int car = 0; car <= LastSelectableCar; ++car) {
    ASSERT_NE(CarRoster[car].model.displayList, 0u);
    Players[0].carIndex = static_cast<int16_t>(car);
    for (int i = 0; i < 72; ++i) {
      SetSecondPlayer(PlayerInput::None);
      const auto without = carFrame(15.0f * static_cast<float>(i));
      SetSecondPlayer(PlayerInput::Keyboard);
      const auto with = carFrame(15.0f * static_cast<float>(i));
      for (int y = 2; y < 598; ++y)
        for (int x = 2; x < 798; ++x) {
          const size_t at = (size_t(y) * 800 + x) * 3;
          if (std::equal(&with[at], &with[at] + 3, &without[at])) continue;
          ++linePixels;
          outsideTheCorner += x > 330 || y < 540;
          for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx) offBlack += !black(&without[at + 3 * (dy * 800 + dx)]);
        }
    }
  }
  EXPECT_GT(linePixels, 3 * 72 * 400);
  EXPECT_EQ(outsideTheCorner, 0);
  EXPECT_EQ(offBlack, 0);

  // Player two's turn: their car's name in their colour, none in player one's teal.
  hold(VK_RETURN);
  ASSERT_EQ(JoinedLineText(true), "Player 2: keyboard, choosing");
  const auto turn = carFrame(10.0f);
  int teal = 0, orange = 0;
  for (size_t at = 0; at < size_t(800 * 130 * 3); at += 3) {  // the band of the name
    teal += turn[at] < 20 && turn[at + 1] > 100 && turn[at + 2] > 100;
    orange += turn[at] > 230 && turn[at + 1] > 120 && turn[at + 1] < 160 && turn[at + 2] < 50;
  }
  EXPECT_EQ(teal, 0) << teal << " " << orange;
  EXPECT_GT(orange, 500) << teal << " " << orange;
}

}  // namespace
