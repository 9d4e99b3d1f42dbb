// The player's controls: the text forms of keys and pad buttons, the settings lines read back,
// bad and clashing lines falling back to the defaults, refused bindings and the reset.
#include "game/action_input.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/key_names.h"
#include "platform/keys.h"

namespace {

int Scan(const char* name) {
  return platform::ScancodeFromName(name);
}

TEST(ControlsText, KeysAndPadButtonsReadBackAsWritten) {
  const auto keys = ParseKeys(" up ,W");
  ASSERT_TRUE(keys);
  EXPECT_EQ(FormatKeys(*keys), "Up, W");
  EXPECT_EQ(FormatKeys(*ParseKeys("Keypad Enter")), "Keypad Enter");
  EXPECT_EQ(FormatKeys(*ParseKeys("")), "");
  for (const char* bad : {"Up, W, S", "Sideways", "Up,", ",Up", "W, W", "Up;W"})
    EXPECT_FALSE(ParseKeys(bad)) << bad;

  for (const char* pad : {"a", "back", "dpleft", "lefttrigger", "leftx-", "rightstick"})
    EXPECT_EQ(FormatPad(*ParsePad(pad)), pad);
  EXPECT_EQ(ParsePad(""), 0);
  EXPECT_FALSE(ParsePad("A"));
  EXPECT_FALSE(ParsePad("z"));
  EXPECT_EQ(PadTitle(VK_GAMEPAD_VIEW), "Pad Back");

  EXPECT_EQ(ActionNamed("steer_left"), Action::SteerLeft);
  EXPECT_FALSE(ActionNamed("fly"));  // the settings lines' names: the controls screen's tests
}

TEST(ControlsText, DefaultsAreTheGamesOwnKeysAndButtons) {
  const Controls controls;
  const std::map<Action, std::pair<std::string, std::string>> expected = {
      {Action::Accelerate, {"Up", "a"}},   {Action::Brake, {"Down", "b"}},
      {Action::Nitro, {"N", "x"}},         {Action::DriverView, {"1", "y"}},
      {Action::ChaseView, {"2", "y"}},     {Action::Ghost, {"G", ""}},
      {Action::Restart, {"R", "back"}},    {Action::MenuTake, {"Return, Keypad Enter", "a"}},
      {Action::MenuBack, {"Escape", "b"}}, {Action::SteerLeft, {"Left", "dpleft"}},
  };
  for (const auto& [action, binding] : expected) {
    EXPECT_EQ(FormatKeys(controls[action]), binding.first) << InfoOf(action).name;
    EXPECT_EQ(FormatPad(controls[action].pad), binding.second) << InfoOf(action).name;
  }
}

class ControlsRead : public testing::Test {
 protected:
  std::map<std::string, std::string> lines;
  Controls controls;
  std::vector<std::string> read(int player = 1) {
    return controls.read(
        [this](const std::string& name) -> std::optional<std::string> {
          auto found = lines.find(name);
          if (found == lines.end()) return std::nullopt;
          return found->second;
        },
        player);
  }
};

TEST_F(ControlsRead, LinesOfTheFileBindAndABadLineKeepsOnlyItsActionsDefault) {
  lines = {{"key.accelerate", "W, Up"},  {"pad.accelerate", "righttrigger"},
           {"key.brake", "Sideways"},    {"pad.nitro", "q"},
           {"key.steer_left", "A"},      {"key.ghost", "F4"},
           {"key2.restart", "Backspace"}};
  const auto problems = read();
  ASSERT_EQ(problems.size(), 3u);
  EXPECT_EQ(problems[0], "key.brake: cannot use \"Sideways\"; the default (Down) is used");
  EXPECT_NE(problems[1].find("pad.nitro"), std::string::npos);
  EXPECT_NE(problems[2].find("key.ghost"), std::string::npos);  // F4 is the game's own
  EXPECT_EQ(FormatKeys(controls[Action::Accelerate]), "W, Up");
  EXPECT_EQ(controls[Action::Accelerate].pad, VK_GAMEPAD_RIGHT_TRIGGER);
  EXPECT_EQ(controls[Action::Brake], Controls::Default(Action::Brake));
  EXPECT_EQ(controls[Action::Nitro], Controls::Default(Action::Nitro));
  EXPECT_EQ(FormatKeys(controls[Action::SteerLeft]), "A");
  EXPECT_EQ(controls[Action::SteerLeft].pad, VK_GAMEPAD_DPAD_LEFT);          // no pad line: default
  EXPECT_EQ(controls[Action::Restart], Controls::Default(Action::Restart));  // player two's line

  // Player two has no restart of their own: their restart line is not read.
  EXPECT_TRUE(read(2).empty());
  EXPECT_EQ(controls.player(), 2);
  EXPECT_EQ(controls[Action::Restart], Binding{});
  EXPECT_EQ(controls[Action::Accelerate], Controls::Default(Action::Accelerate, 2));
}

TEST_F(ControlsRead, AKeyTakenFromAnotherActionOfItsScreenLeavesTheDefault) {
  // Brake on Up clashes with accelerate's default; the menus' Up is another screen's.
  lines = {{"key.brake", "Up"}, {"key.menu_take", "N"}, {"pad.ghost", "a"}};
  const auto problems = read();
  ASSERT_EQ(problems.size(), 2u) << problems[0];
  EXPECT_NE(problems[0].find("accelerate"), std::string::npos) << problems[0];
  EXPECT_EQ(controls[Action::Brake], Controls::Default(Action::Brake));
  EXPECT_EQ(controls[Action::Ghost], Controls::Default(Action::Ghost));
  EXPECT_EQ(FormatKeys(controls[Action::MenuTake]), "N");
}

TEST(ControlsBinding, KeysOfAnotherActionOrOfTheGameRefusedAndResetRestoresAll) {
  Controls controls;
  EXPECT_EQ(controls.setKey(Action::Brake, 0, Scan("Up")), Action::Accelerate);
  EXPECT_EQ(controls.setPad(Action::Nitro, VK_GAMEPAD_A), Action::Accelerate);
  EXPECT_EQ(controls.setKey(Action::Nitro, 1, Scan("F1")), Action::Nitro);
  EXPECT_EQ(controls.setKey(Action::Nitro, 1, Scan("M")), Action::Nitro);
  EXPECT_EQ(controls.setKey(Action::Nitro, 1, Scan("Escape")), Action::Nitro);
  EXPECT_EQ(controls.setKey(Action::MenuBack, 1, Scan("Backspace")), std::nullopt);
  EXPECT_EQ(controls[Action::Brake], Controls::Default(Action::Brake));

  EXPECT_EQ(controls.setKey(Action::Accelerate, 0, Scan("W")), std::nullopt);
  EXPECT_EQ(controls.setKey(Action::MenuUp, 1, Scan("W")), std::nullopt);  // the menus' own
  EXPECT_EQ(controls.setKey(Action::Brake, 1, Scan("Up")), std::nullopt);  // Up is free now
  EXPECT_EQ(FormatKeys(controls[Action::Accelerate]), "W");
  EXPECT_EQ(FormatKeys(controls[Action::Brake]), "Down, Up");
  EXPECT_EQ(controls.setPad(Action::ChaseView, VK_GAMEPAD_Y), std::nullopt);  // shared views
  controls.reset();
  for (int i = 0; i < ActionCount; ++i) {
    const auto action = static_cast<Action>(i);
    EXPECT_EQ(controls[action], Controls::Default(action)) << InfoOf(action).name;
  }
}

TEST(SecondPlayerControls, DefaultsAreTheLeftHandsKeysAndTheirOwnPadsButtons) {
  const Controls two(2);
  const char* keys[] = {"W", "S", "A", "D", "Left Shift", "Tab", "Q"};
  for (int i = 0; i < ActionCount; ++i) {
    const auto action = static_cast<Action>(i);
    const Binding expected = i < SecondPlayerActionCount  // the others are not theirs: none
                                 ? Binding{{Scan(keys[i]), 0}, Controls::Default(action).pad}
                                 : Binding{};
    EXPECT_EQ(two[action], expected) << i;
  }
  ClearKeyState();
  KeyState[VK_GAMEPAD_A] = true;  // the first pad's A is player one's, never theirs
  EXPECT_FALSE(ActionHeld(two, Action::Accelerate));
  KeyState[VK_GAMEPAD_A + SecondPadKeys] = true;
  EXPECT_TRUE(ActionHeld(two, Action::Accelerate));
  ClearKeyState();
}

TEST(SecondPlayerControls, AKeyOfOnePlayersRaceActionIsRefusedToTheOther) {
  Controls one(1), two(2);
  one.setPartner(&two);
  two.setPartner(&one);
  auto refusal = one.bindKey(Action::Accelerate, 1, Scan("W"));
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->action, Action::Accelerate);
  EXPECT_EQ(refusal->player, 2);
  EXPECT_EQ(one.setKey(Action::Ghost, 1, Scan("Q")), Action::ChaseView);  // a race action too
  EXPECT_EQ(one.setKey(Action::MenuTake, 1, Scan("W")), std::nullopt);    // the menus' are free
  refusal = two.bindKey(Action::Nitro, 0, Scan("R"));                     // player one's restart
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->action, Action::Restart);
  EXPECT_EQ(refusal->player, 1);
  EXPECT_EQ(two.setKey(Action::Brake, 0, Scan("W")), Action::Accelerate);  // their own
  EXPECT_EQ(two.setKey(Action::Ghost, 0, Scan("P")), Action::Ghost);       // not theirs
  EXPECT_EQ(two.setPad(Action::Restart, VK_GAMEPAD_X), Action::Restart);
  // Freed by one, the key is the other's to take.
  EXPECT_EQ(two.setKey(Action::Accelerate, 0, Scan("I")), std::nullopt);
  EXPECT_EQ(one.setKey(Action::Accelerate, 1, Scan("W")), std::nullopt);
  EXPECT_EQ(two.setKey(Action::SteerLeft, 1, Scan("Up")), Action::Accelerate);
}

TEST_F(ControlsRead, PlayerTwosLinesYieldToPlayerOnesRaceKeys) {
  lines = {{"key.accelerate", "Up, W"},  // player one's lines win: W is left out of player two's
           {"key2.brake", "Down"},       // player one's brake: back to S
           {"key2.steer_left", "S"},     // then clashes with brake's default S: back to A
           {"pad2.accelerate", "righttrigger"},
           {"key2.driver_view", "Tab, 1"}};  // 1 is player one's: the whole line falls back
  Controls one;
  std::swap(one, controls);
  EXPECT_TRUE(read().empty());
  std::swap(one, controls);
  controls.setPartner(&one);
  const auto problems = read(2);
  EXPECT_EQ(controls[Action::Accelerate], (Binding{{0, 0}, VK_GAMEPAD_RIGHT_TRIGGER}));
  EXPECT_EQ(FormatKeys(controls[Action::Brake]) + FormatKeys(controls[Action::SteerLeft]) +
                FormatKeys(controls[Action::DriverView]),
            "SATab");
  ASSERT_EQ(problems.size(), 4u);
  EXPECT_EQ(problems[0], "key2.accelerate: the default W is player 1's accelerate; left out");
  EXPECT_EQ(problems[1], "key2.brake: shares a key with player 1's brake; the default is used");
}

TEST(ControlsBinding, HeldAndTakenThroughTheKeysTheBindingsGive) {
  ClearKeyState();
  Controls controls;
  controls.setKey(Action::Accelerate, 1, Scan("W"));
  KeyState['W'] = true;
  EXPECT_TRUE(ActionHeld(controls, Action::Accelerate));
  KeyState['W'] = false;
  KeyState[VK_GAMEPAD_A] = true;
  EXPECT_TRUE(ActionHeld(controls, Action::Accelerate));
  EXPECT_TRUE(TakeAction(controls, Action::MenuTake));
  EXPECT_FALSE(KeyState[VK_GAMEPAD_A]);
  EXPECT_FALSE(TakeAction(controls, Action::MenuTake));
  KeyState[VK_RETURN] = true;  // both Return and Keypad Enter give it
  EXPECT_TRUE(TakeAction(controls, Action::MenuTake));
  ClearKeyState();
}

}  // namespace
