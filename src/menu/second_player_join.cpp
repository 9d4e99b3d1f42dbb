// Joining and leaving of player two, and the line naming who has joined.
#include "menu/second_player_join.h"

#include <GL/gl.h>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "game/action_input.h"
#include "game/game_sounds.h"
#include "game/player_colours.h"
#include "game/players.h"
#include "platform/key_names.h"
#include "platform/keys.h"
#include "platform/window_system.h"

namespace {

int BrakeFrames = 0;  // frames in a row player two's brake has been held

// Takes a press of the action's keys, or of its button on the second pad.
bool TakeKeys(const Binding& binding) {
  bool taken = false;
  for (int key : binding.keys) {
    const int code = platform::VirtualKeyOfScancode(key);
    if (code > 0) taken = TakeKeyPress(code) || taken;
  }
  return taken;
}
bool TakePadButton(int pad) {
  return pad != 0 && TakeKeyPress(PadKeyOf(pad, 2));
}

}  // namespace

void SetSecondPlayer(PlayerInput who) {
  Players[1].input = who;
  BrakeFrames = 0;
  if (platform::WindowSystem* system = platform::CurrentWindowSystemIfAny())
    system->setPadsKeepPlayers(who != PlayerInput::None);
}

void ForgetLeaveHold() {
  BrakeFrames = 0;
}

void SecondPlayerJoinInput() {
  const Controls& controls = GameControls(2);
  if (!TwoPlayers()) {
    const Binding& accelerate = controls[Action::Accelerate];
    const bool keys = TakeKeys(accelerate);
    const bool pad = TakePadButton(accelerate.pad);
    if (keys || pad) {
      PlaySound(Sound::Confirm);
      SetSecondPlayer(keys ? PlayerInput::Keyboard : PlayerInput::Pad);
    }
    return;
  }
  const bool back = TakeKeyPress(VK_GAMEPAD_VIEW + SecondPadKeys);
  BrakeFrames = ActionHeld(controls, Action::Brake) ? BrakeFrames + 1 : 0;
  if ((back && Players[1].input == PlayerInput::Pad) || BrakeFrames >= LeaveHoldFrames) {
    PlaySound(Sound::Back);
    SetSecondPlayer(PlayerInput::None);
  }
}

std::string JoinedLineText(bool choosing) {
  if (!TwoPlayers()) return {};
  std::string text = Players[1].input == PlayerInput::Pad ? "Player 2: pad" : "Player 2: keyboard";
  return choosing ? text + ", choosing" : text;
}

void DrawJoinedLine(bool choosing) {
  const std::string text = JoinedLineText(choosing);
  if (text.empty()) return;
  glLoadIdentity();
  glColor3f(SecondPlayerColour.red, SecondPlayerColour.green, SecondPlayerColour.blue);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(-1.6f, 1.19f, -3.0f);
  glScalef(0.06f, 0.06f, 0.06f);
  glTranslatef(TextWidth(text) / 2, 0.0f, 0.0f);  // starts at the left, as PrintText centres
  PrintText("%s", text.c_str());
  glEnable(GL_DEPTH_TEST);
  glColor3f(1.0f, 1.0f, 1.0f);
}
