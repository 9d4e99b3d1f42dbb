// The controls screen's keys: opened by C on the main menu, rebinding from the keyboard and the
// pad (written to the settings), refusals naming the action, Escape cancelling, the reset entry.
#include "menu/controls_screen.h"

#include <gtest/gtest.h>

#include "game/action_input.h"
#include "menu/main_menu.h"
#include "platform/frame_flags.h"
#include "platform/key_names.h"
#include "platform/keys.h"
#include "records/settings.h"
#include "support/scratch_folder.h"

namespace {

class ControlsScreenTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearKeyState();
    GameSettings.reload();
    GameControls().reset();
    GameControls(2).reset();
    ScreenState = screen::MainMenu;
  }
  void TearDown() override {
    GameControls().reset();
    GameControls(2).reset();
    ClearKeyState();
    ScreenState = screen::MainMenu;
    GameSettings.reload();
  }
  // One frame of the screen's input with these keys newly down.
  void press(std::initializer_list<int> keys) {
    for (int key : keys) KeyState[key] = true;
    ControlsScreenInput();
  }
  testing_support::ScratchFolder scratch;
};

TEST_F(ControlsScreenTest, RebindsFromTheKeyboardRefusesTakenKeysAndWritesTheSettings) {
  KeyState['C'] = true;
  MainMenuInput();
  ASSERT_EQ(ScreenState, screen::Controls);
  press({VK_RETURN});  // accelerate, first key
  EXPECT_TRUE(ControlsScreen.waiting);
  press({'E'});
  EXPECT_FALSE(ControlsScreen.waiting);
  EXPECT_EQ(ControlsCellText(0, 1), "E");
  EXPECT_EQ(GameSettings.value("key.accelerate"), "E");
  EXPECT_EQ(GameSettings.value("pad.accelerate"), "a");

  press({VK_DOWN});  // brake
  press({VK_RETURN});
  press({'E'});
  EXPECT_EQ(ControlsScreen.message, "E is taken by Accelerate");
  press({VK_RETURN});
  press({'W'});  // player two's
  EXPECT_EQ(ControlsScreen.message, "W is taken by player 2's Accelerate");
  press({VK_RETURN});
  press({VK_F4 - 3});  // F1, the game's own
  EXPECT_EQ(ControlsScreen.message, "F1 is the game's own key");
  EXPECT_EQ(GameControls()[Action::Brake], Controls::Default(Action::Brake));
  press({VK_RETURN});
  press({VK_ESCAPE});  // cancels the wait, stays on the screen
  EXPECT_FALSE(ControlsScreen.waiting);
  EXPECT_EQ(ScreenState, screen::Controls);

  // The pad column takes only pad buttons (a stick inside its dead zone presses nothing).
  for (int i = 0; i < 3; ++i) press({VK_RIGHT});  // stops at the pad column
  press({VK_GAMEPAD_A});
  EXPECT_TRUE(ControlsScreen.waiting);  // A was Enter here; now waiting for brake's button
  press({'Q'});
  EXPECT_TRUE(ControlsScreen.waiting);  // a key is no pad button
  press({VK_GAMEPAD_RIGHT_SHOULDER});
  EXPECT_EQ(ControlsCellText(1, 3), "Pad Right shoulder");
  EXPECT_EQ(GameSettings.value("pad.brake"), "rightshoulder");
  press({VK_BACK});
  EXPECT_EQ(GameSettings.value("pad.brake"), "");

  // The reset entry, last, puts back and writes every default; Escape leaves.
  for (int row = 0; row < ActionCount + 3; ++row) press({VK_DOWN});
  press({VK_RETURN});
  EXPECT_EQ(GameControls()[Action::Accelerate], Controls::Default(Action::Accelerate));
  EXPECT_EQ(GameSettings.value("key.accelerate"), "Up");
  EXPECT_EQ(GameSettings.value("pad.brake"), "b");
  press({VK_ESCAPE});
  EXPECT_EQ(ScreenState, 0);
  EXPECT_FALSE(KeyState[VK_ESCAPE]);  // taken: the main menu does not quit on it
}

TEST_F(ControlsScreenTest, TabTurnsToPlayerTwosPageWithTheSameEditing) {
  OpenControlsScreen();
  press({VK_TAB});
  EXPECT_EQ(ControlsScreen.player, 2);
  EXPECT_EQ(ControlsCellText(0, 0, 2) + ControlsCellText(0, 1, 2), "AccelerateW");
  EXPECT_EQ(ControlsCellText(SecondPlayerActionCount, 0, 2), "Reset all to defaults");
  press({VK_RETURN});  // accelerate's first key
  press({VK_UP});      // player one's
  EXPECT_EQ(ControlsScreen.message, "Up is taken by player 1's Accelerate");
  press({VK_RETURN});
  press({'S'});  // their own brake's
  EXPECT_EQ(ControlsScreen.message, "S is taken by Brake");
  press({VK_RETURN});
  press({'I'});
  EXPECT_EQ(GameSettings.value("key2.accelerate"), "I");
  EXPECT_FALSE(GameSettings.value("key.accelerate"));  // player one's line untouched
  // Pad buttons from either pad set player two's; the second pad's Back cancels the wait.
  for (int key : {VK_RIGHT, VK_RIGHT, VK_RETURN, VK_GAMEPAD_VIEW + SecondPadKeys, VK_RETURN,
                  VK_GAMEPAD_RIGHT_TRIGGER + SecondPadKeys})
    press({key});
  EXPECT_EQ(GameSettings.value("pad2.accelerate"), "righttrigger");
  EXPECT_EQ(GameControls()[Action::Accelerate].pad, VK_GAMEPAD_A);
  for (int row = 0; row < 9; ++row) press({VK_DOWN});  // stops on the reset entry
  press({VK_RETURN});
  EXPECT_EQ(GameSettings.value("key2.accelerate"), "W");
  EXPECT_EQ(GameSettings.value("pad2.accelerate"), "a");
  press({VK_TAB});  // back to player one's page, at its top
  EXPECT_EQ(std::tuple(ControlsScreen.player, ControlsScreen.row), std::tuple(1, 0));
}

}  // namespace
