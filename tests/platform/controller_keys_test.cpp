// Game controllers through the SDL window system: virtual controllers plugged in and out, and
// controller events pushed into SDL's queue, come out as the key messages the game reads.
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "platform/sdl_window_system.h"

namespace {

using platform::Message;
using platform::MessageKind;

using Keys = std::vector<std::pair<MessageKind, int>>;
constexpr MessageKind Down = MessageKind::KeyDown;
constexpr MessageKind Up = MessageKind::KeyUp;

// Keys pressed, or let go, in this order; joined with +.
Keys Pressed(const std::vector<int>& keys) {
  Keys out;
  for (int key : keys) out.emplace_back(Down, key);
  return out;
}
Keys Released(const std::vector<int>& keys) {
  Keys out;
  for (int key : keys) out.emplace_back(Up, key);
  return out;
}
Keys operator+(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class ControllerKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    ScreenState = screen::MainMenu;
    first_ = plugIn();
  }
  void TearDown() override { ScreenState = screen::MainMenu; }

  // Attaches a virtual controller; returns its instance id once the window system has it.
  SDL_JoystickID plugIn() {
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);
    EXPECT_TRUE(take().empty());
    return id;
  }
  void unplug(SDL_JoystickID id) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  }
  void button(SDL_JoystickID id, int which, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.which = id;
    e.cbutton.button = static_cast<Uint8>(which);
    e.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
  }
  void keyboard(SDL_Keycode sym, SDL_Scancode code, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.sym = sym;
    e.key.keysym.scancode = code;
    SDL_PushEvent(&e);
  }
  void click(int which) {
    button(first_, which, true);
    button(first_, which, false);
  }
  void axis(SDL_JoystickID id, int which, int value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.which = id;
    e.caxis.axis = static_cast<Uint8>(which);
    e.caxis.value = static_cast<Sint16>(value);
    SDL_PushEvent(&e);
  }
  Keys take() {
    Keys keys;
    Message m;
    while (ws.peekMessage(m)) keys.emplace_back(m.kind, m.key);
    return keys;
  }

  platform::SdlWindowSystem ws;
  SDL_JoystickID first_ = -1;
};

TEST_F(ControllerKeysTest, ButtonsPressTheirPadKeysAndStartBackAndTheDpadAlsoActAsKeys) {
  struct Case {
    int screen, button;
    std::vector<int> keys;
  } cases[] = {
      {1, SDL_CONTROLLER_BUTTON_B, {VK_GAMEPAD_B}},
      {3, SDL_CONTROLLER_BUTTON_A, {VK_GAMEPAD_A}},
      {3, SDL_CONTROLLER_BUTTON_Y, {VK_GAMEPAD_Y}},
      {0, SDL_CONTROLLER_BUTTON_START, {VK_RETURN, VK_GAMEPAD_MENU}},
      {3, SDL_CONTROLLER_BUTTON_START, {VK_ESCAPE, VK_GAMEPAD_MENU}},
      {1, SDL_CONTROLLER_BUTTON_BACK, {VK_ESCAPE, VK_GAMEPAD_VIEW}},
      {3, SDL_CONTROLLER_BUTTON_BACK, {VK_GAMEPAD_VIEW}},
      {2, SDL_CONTROLLER_BUTTON_DPAD_LEFT, {VK_LEFT, VK_GAMEPAD_DPAD_LEFT}},
      {3, SDL_CONTROLLER_BUTTON_DPAD_UP, {VK_UP, VK_GAMEPAD_DPAD_UP}},
      {3, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, {VK_GAMEPAD_LEFT_SHOULDER}},
  };
  for (const Case& c : cases) {
    ScreenState = static_cast<int16_t>(c.screen);
    click(c.button);
    EXPECT_EQ(take(), Pressed(c.keys) + Released(c.keys)) << c.screen << " " << c.button;
  }
  // Start held from a menu into the race lets go of the key it pressed, not of Escape.
  ScreenState = screen::TrackSelection;
  button(first_, SDL_CONTROLLER_BUTTON_START, true);
  EXPECT_EQ(take(), (Keys{{Down, VK_RETURN}, {Down, VK_GAMEPAD_MENU}}));
  ScreenState = screen::Race;
  button(first_, SDL_CONTROLLER_BUTTON_START, false);
  EXPECT_EQ(take(), (Keys{{Up, VK_RETURN}, {Up, VK_GAMEPAD_MENU}}));
  click(SDL_CONTROLLER_BUTTON_GUIDE);  // no key
  EXPECT_TRUE(take().empty());
}

TEST_F(ControllerKeysTest, StickAndTriggersPressBeyondTheDeadZoneAndLetGoInsideIt) {
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, -7000);  // resting slack
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, -20000);
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, -10000);  // still held between the two travels
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, 0);
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, 32767);
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, -32768);  // straight across: right up, left down
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, 0);
  constexpr int Left = VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, Right = VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT;
  EXPECT_EQ(take(), Pressed({VK_LEFT, Left}) + Released({VK_LEFT, Left}) +
                        Pressed({VK_RIGHT, Right}) + Released({VK_RIGHT, Right}) +
                        Pressed({VK_LEFT, Left}) + Released({VK_LEFT, Left}));
  axis(first_, SDL_CONTROLLER_AXIS_LEFTY, -30000);  // stick up
  axis(first_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
  axis(first_, SDL_CONTROLLER_AXIS_LEFTY, 0);  // Up stays down: the trigger still holds it
  axis(first_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0);
  axis(first_, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 30000);
  axis(first_, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 1000);
  axis(first_, SDL_CONTROLLER_AXIS_RIGHTX, 30000);  // the right stick does nothing
  EXPECT_EQ(take(), Pressed({VK_UP, VK_GAMEPAD_LEFT_THUMBSTICK_UP, VK_GAMEPAD_RIGHT_TRIGGER}) +
                        Released({VK_GAMEPAD_LEFT_THUMBSTICK_UP, VK_UP, VK_GAMEPAD_RIGHT_TRIGGER}) +
                        Pressed({VK_DOWN, VK_GAMEPAD_LEFT_TRIGGER}) +
                        Released({VK_DOWN, VK_GAMEPAD_LEFT_TRIGGER}));
}

TEST_F(ControllerKeysTest, TheFirstConnectedDrivesAndLeavingReleasesItsKeys) {
  SDL_JoystickID second = plugIn();
  ScreenState = screen::Race;
  button(second, SDL_CONTROLLER_BUTTON_A, true);  // player two's: their own key
  button(first_, SDL_CONTROLLER_BUTTON_A, true);
  button(first_, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  axis(first_, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  EXPECT_EQ(take(), Pressed({VK_GAMEPAD_A + SecondPadKeys, VK_GAMEPAD_A, VK_LEFT,
                             VK_GAMEPAD_DPAD_LEFT, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT}));
  unplug(first_);  // the second moves up to player one, letting go of player two's keys
  EXPECT_EQ(take(), Released({VK_GAMEPAD_A, VK_GAMEPAD_DPAD_LEFT, VK_LEFT,
                              VK_GAMEPAD_LEFT_THUMBSTICK_LEFT, VK_GAMEPAD_A + SecondPadKeys}));
  button(second, SDL_CONTROLLER_BUTTON_X, true);  // the next one now drives
  EXPECT_EQ(take(), (Keys{{Down, VK_GAMEPAD_X}}));
  unplug(second);
  EXPECT_EQ(take(), (Keys{{Up, VK_GAMEPAD_X}}));
  first_ = plugIn();  // plugged in again while playing
  button(first_, SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(take(), (Keys{{Down, VK_GAMEPAD_B}}));
}

TEST_F(ControllerKeysTest, AKeyIsDownWhileTheKeyboardOrTheControllerHoldsIt) {
  ScreenState = screen::Race;
  auto upKey = [&](bool down) { keyboard(SDLK_UP, SDL_SCANCODE_UP, down); };
  auto trigger = [&](bool down) {
    axis(first_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, down ? 30000 : 0);
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    Keys keys;
  } steps[] = {
      {"keyboard presses", [&] { upKey(true); }, {{Down, VK_UP}}},
      {"trigger joins", [&] { trigger(true); }, {{Down, VK_GAMEPAD_RIGHT_TRIGGER}}},
      {"trigger lets go, keyboard holds",
       [&] { trigger(false); },
       {{Up, VK_GAMEPAD_RIGHT_TRIGGER}}},
      {"keyboard lets go", [&] { upKey(false); }, {{Up, VK_UP}}},
      {"trigger presses",
       [&] { trigger(true); },
       {{Down, VK_UP}, {Down, VK_GAMEPAD_RIGHT_TRIGGER}}},
      {"keyboard presses too (and repeats)", [&] { upKey(true); }, {{Down, VK_UP}}},
      {"keyboard lets go, trigger holds", [&] { upKey(false); }, {}},
      {"trigger lets go", [&] { trigger(false); }, {{Up, VK_UP}, {Up, VK_GAMEPAD_RIGHT_TRIGGER}}},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(take(), step.keys) << step.what;
  }
}

TEST_F(ControllerKeysTest, APadTakingOverCountsWhatItHoldsAndHeldControlsPressAgainAfterABox) {
  ScreenState = screen::Race;
  SDL_JoystickID second = plugIn();
  // The second pad's stick is held left while it plays for player two: their keys only.
  SDL_Joystick* stick = SDL_JoystickFromInstanceID(second);
  ASSERT_NE(stick, nullptr);
  ASSERT_EQ(SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, -30000), 0);
  axis(first_, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
  EXPECT_EQ(take(), Pressed({VK_UP, VK_GAMEPAD_RIGHT_TRIGGER, VK_GAMEPAD_DPAD_LEFT + SecondPadKeys,
                             VK_GAMEPAD_LEFT_THUMBSTICK_LEFT + SecondPadKeys}));
  unplug(first_);
  EXPECT_EQ(take(), Released({VK_UP, VK_GAMEPAD_RIGHT_TRIGGER, VK_GAMEPAD_DPAD_LEFT + SecondPadKeys,
                              VK_GAMEPAD_LEFT_THUMBSTICK_LEFT + SecondPadKeys}) +
                        Pressed({VK_LEFT, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT}));

  // A box clears the keys; the stick still held presses Left again, the keyboard's keys are
  // SDL's to report again.
  platform::SetWindowSystem(&ws);
  platform::SetMessageBoxHandler([](const std::string&, const std::string&, platform::Buttons,
                                    platform::Icon) { return platform::Answer::Ok; });
  KeyState[VK_LEFT] = true;
  platform::ShowMessageBox("text", "Error", platform::Buttons::Ok, platform::Icon::Exclamation);
  platform::SetMessageBoxHandler(nullptr);
  platform::SetWindowSystem(nullptr);
  EXPECT_FALSE(KeyState[VK_LEFT]);
  EXPECT_EQ(take(), (Keys{{Down, VK_LEFT}, {Down, VK_GAMEPAD_LEFT_THUMBSTICK_LEFT}}));
}

TEST_F(ControllerKeysTest, TheSecondPadPressesOnlyItsOwnKeysInEveryScreen) {
  SDL_JoystickID second = plugIn();
  constexpr int S = SecondPadKeys;
  ScreenState = screen::CarSelection;  // Start, Back and the D-pad are no Enter, Escape or arrows
  for (int which :
       {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_DPAD_LEFT})
    button(second, which, true);
  EXPECT_EQ(take(), Pressed({VK_GAMEPAD_MENU + S, VK_GAMEPAD_VIEW + S, VK_GAMEPAD_DPAD_LEFT + S}));
  ScreenState = screen::Race;
  // The stick acts as its own D-pad, the triggers as its own A and B: player two steers,
  // accelerates and brakes with them as player one does.
  button(second, SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  axis(second, SDL_CONTROLLER_AXIS_LEFTY, -30000);
  axis(second, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 30000);
  axis(second, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 30000);
  EXPECT_EQ(take(),
            Pressed({VK_GAMEPAD_DPAD_UP + S, VK_GAMEPAD_LEFT_THUMBSTICK_UP + S, VK_GAMEPAD_A + S,
                     VK_GAMEPAD_RIGHT_TRIGGER + S, VK_GAMEPAD_B + S, VK_GAMEPAD_LEFT_TRIGGER + S}));
  button(second, SDL_CONTROLLER_BUTTON_DPAD_UP, false);  // the stick still holds D-pad up
  axis(second, SDL_CONTROLLER_AXIS_LEFTY, 0);
  EXPECT_EQ(take(), (Keys{{Up, VK_GAMEPAD_DPAD_UP + S}, {Up, VK_GAMEPAD_LEFT_THUMBSTICK_UP + S}}));
  SDL_JoystickID third = plugIn();  // plays for nobody
  button(third, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_TRUE(take().empty());
}

TEST_F(ControllerKeysTest, KeptPlayersHandNothingOverWhenAPadIsUnplugged) {
  constexpr int S = SecondPadKeys;
  ScreenState = screen::Race;
  SDL_JoystickID second = plugIn();
  SDL_JoystickID third = plugIn();
  ws.setPadsKeepPlayers(true);
  EXPECT_TRUE(take().empty());
  button(first_, SDL_CONTROLLER_BUTTON_A, true);
  button(second, SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_EQ(take(), (Keys{{Down, VK_GAMEPAD_A}, {Down, VK_GAMEPAD_B + S}}));
  // Player one's pad goes: its keys let go; the second stays player two's, the third takes
  // nothing over.
  unplug(first_);
  EXPECT_EQ(take(), (Keys{{Up, VK_GAMEPAD_A}}));
  button(third, SDL_CONTROLLER_BUTTON_X, true);
  button(second, SDL_CONTROLLER_BUTTON_X, true);
  EXPECT_EQ(take(), (Keys{{Down, VK_GAMEPAD_X + S}}));
  // A pad plugged in takes the free place, player one's.
  SDL_JoystickID again = plugIn();
  button(again, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(take(), (Keys{{Down, VK_GAMEPAD_A}}));
  // Player two's pad goes: player one plays on with theirs.
  unplug(second);
  EXPECT_EQ(take(), (Keys{{Up, VK_GAMEPAD_B + S}, {Up, VK_GAMEPAD_X + S}}));
  // Let go, the pads are in order again: player one's stays, the third becomes player two's.
  ws.setPadsKeepPlayers(false);
  EXPECT_TRUE(take().empty());
  button(third, SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(take(), (Keys{{Down, VK_GAMEPAD_A + S}}));
}

}  // namespace
