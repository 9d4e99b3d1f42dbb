// The main menu: background picture, the pulsing five-fold highlight frame, and its keys.
#include "menu/main_menu.h"

#include <GL/gl.h>

#include "game/action_input.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "menu/controls_screen.h"
#include "menu/menu_drawing.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"

struct SelectionFrame SelectionFrame;
int16_t MainMenuChoice = 0;

namespace {

// The main menu fades its tint more slowly than the selection screens.
constexpr TintFade MainMenuTintFade{0.6f, 0.0005f, 0.8f, 0.00007f, 0.5f, 0.00033f};

// Lowers a colour component by its step while above 0.2, otherwise starts it again at 1.0.
void PulseComponent(float& component, float step) {
  if (component > 0.2f) {
    component -= step;
  } else {
    component = 1.0f;
  }
}

// One rectangle outline of the frame, as four segments with the frame's changing colours.
void DrawOutline(struct SelectionFrame& frame) {
  const float w = frame.width / 2.0f;
  const float h = frame.height / 2.0f;
  glBegin(GL_LINES);
  glColor3f(frame.red, frame.green, frame.blue);
  frame.pulse();
  glVertex3f(w, h, 0.0f);
  glColor3f(frame.blue, frame.blue, frame.blue);
  glVertex3f(-w, h, 0.0f);
  glVertex3f(-w, h, 0.0f);
  glColor3f(frame.green, frame.green, frame.red);
  glVertex3f(-w, -h, 0.0f);
  glColor3f(frame.green, frame.red, frame.blue);
  frame.pulse();
  glVertex3f(-w, -h, 0.0f);
  glColor3f(frame.green, frame.red, frame.blue);
  frame.pulse();
  glVertex3f(w, -h, 0.0f);
  glColor3f(frame.red, frame.green, frame.blue);
  frame.pulse();
  glVertex3f(w, -h, 0.0f);
  glColor3f(frame.blue, frame.green, frame.blue);
  glVertex3f(w, h, 0.0f);
  glEnd();
}

}  // namespace

void SelectionFrame::pulse() {
  PulseComponent(red, 0.00035f);
  PulseComponent(green, 0.00008f);
  PulseComponent(blue, 0.00019f);
}

void DrawMainMenu() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -4.2f);

  DrawMenuBackground(MenuMainTexture);

  struct SelectionFrame& frame = SelectionFrame;
  glTranslatef(frame.x, frame.y, frame.z);
  glLineWidth(1.0f);
  const float height = frame.height;
  for (int outline = 0; outline < 5; ++outline) {
    DrawOutline(frame);
    frame.width += 0.3f;
    frame.height += 0.05f;
  }
  glTranslatef(-frame.x, -frame.y, -frame.z);
  frame.width = 1.6f;
  frame.height = height;

  SpinAngle += 0.1f;

  FadeMenuTint(MainMenuTintFade);
  DrawControlsHint();
}

void ResetMainMenu() {
  MainMenuChoice = 0;
  SelectionFrame.y = SelectionFrameStartY;
}

void MainMenuInput() {
  const Controls& controls = GameControls();
  if (ActionHeld(controls, Action::MenuBack)) {
    QuitRequested = true;
  }
  if (TakeAction(controls, Action::MenuDown)) {
    if (MainMenuChoice == 0) {
      PlaySound(Sound::Tick);
      MainMenuChoice = 1;
      SelectionFrame.y = SelectionFrameQuitY;
    }
  }
  if (TakeAction(controls, Action::MenuUp)) {
    if (MainMenuChoice == 1) {
      PlaySound(Sound::Tick);
      MainMenuChoice = 0;
      SelectionFrame.y = SelectionFrameStartY;
    }
  }
  if (TakeAction(controls, Action::MenuTake)) {
    PlaySound(Sound::Confirm);
    if (MainMenuChoice == 0) {
      ScreenState = screen::CarSelection;
      SpinAngle = -30.0f;
    } else if (MainMenuChoice == 1) {
      QuitRequested = true;
    }
  }
  // The key of the hint line (or the pad's Y) opens the controls screen.
  if (ScreenState == screen::MainMenu && !QuitRequested &&
      (TakeKeyPress('C') || TakeKeyPress(VK_GAMEPAD_Y))) {
    PlaySound(Sound::Confirm);
    OpenControlsScreen();
  }
}
