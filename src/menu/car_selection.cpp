// The car selection: the chosen car's model turning over the background, its name below, and
// the keys that step through the roster.
#include "menu/car_selection.h"

#include <GL/gl.h>

#include "assets/outline_font.h"
#include "game/action_input.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "game/player_colours.h"
#include "game/players.h"
#include "menu/menu_drawing.h"
#include "menu/second_player_join.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"

namespace {

// One player's step through the roster: right, then left, each with its tick.
void StepChoice(bool right, bool left, Player& player) {
  if (right && player.carIndex < LastSelectableCar) {
    PlaySound(Sound::Tick);
    ++player.carIndex;
  }
  if (left && player.carIndex > 0) {
    PlaySound(Sound::Tick);
    --player.carIndex;
  }
}

bool SecondChoosing() {
  return CarChooser == 2 && TwoPlayers();
}

// Player two's turn: their steer keys and the menu's step, their accelerate or Enter takes,
// Escape hands the choice back to player one.
void SecondCarInput() {
  const Controls& one = GameControls();
  const Controls& two = GameControls(2);
  // Both players' keys are taken, so that neither acts again later.
  const bool right = TakeAction(one, Action::MenuRight) | TakeAction(two, Action::SteerRight);
  const bool left = TakeAction(one, Action::MenuLeft) | TakeAction(two, Action::SteerLeft);
  StepChoice(right, left, Players[1]);
  if (TakeAction(two, Action::Accelerate) | TakeAction(one, Action::MenuTake)) {
    PlaySound(Sound::Confirm);
    ScreenState = screen::TrackSelection;
    SpinAngle = 70.0f;
    CarChooser = 1;
  }
  if (TakeAction(one, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = screen::CarSelection;
    CarChooser = 1;
  }
}

// Player one's turn, the screen as it always was.
void FirstCarInput() {
  const Controls& controls = GameControls();
  // Player two's accelerate waits for their turn: a press now acts on nothing.
  if (TwoPlayers()) TakeAction(GameControls(2), Action::Accelerate);
  const bool right = TakeAction(controls, Action::MenuRight);
  const bool left = TakeAction(controls, Action::MenuLeft);
  StepChoice(right, left, Players[0]);
  if (TakeAction(controls, Action::MenuTake)) {
    PlaySound(Sound::Confirm);
    if (TwoPlayers()) {
      CarChooser = 2;
    } else {
      ScreenState = screen::TrackSelection;
      SpinAngle = 70.0f;
    }
  }
  if (TakeAction(controls, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = screen::MainMenu;
    CarChooser = 1;
  }
}

}  // namespace

int CarChooser = 1;

void DrawCarSelection() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glTranslatef(0.7f, 0.25f, -4.2f);
  DrawMenuBackground(MenuCarTexture);

  glTranslatef(-0.09f, -0.59f, 1.2f);
  glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
  glScalef(0.05f, 0.05f, 0.05f);
  DrawSelectionArrows();

  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 1.0f);
  glTranslatef(-0.3f, 0.05f, -1.2f);
  glRotatef(-25.0f, 0.0f, 0.0f, 1.0f);
  glRotatef(25.0f, 1.0f, 0.0f, 0.0f);
  glRotatef(SpinAngle, 0.0f, 1.0f, 0.0f);
  glScalef(0.008f, 0.008f, 0.008f);
  // Player two's turn shows their car, its name in their colour.
  const bool second = SecondChoosing();
  const Car* shown = &Players[second ? 1 : 0].car();
  if (shown->model.displayList != 0) {
    glCallList(shown->model.displayList);
  }

  glLoadIdentity();
  if (second) {
    glColor3f(SecondPlayerColour.red, SecondPlayerColour.green, SecondPlayerColour.blue);
  } else {
    glColor3f(0.0f, 0.5f, 0.5f);
  }
  glDisable(GL_DEPTH_TEST);
  glTranslatef(0.0f, -1.2f, -3.0f);
  glRotatef(SpinAngle * 0.33333334f, 0.0f, 1.0f, 0.0f);
  glScalef(0.5f, 0.5f, 0.5f);
  // The name is text, not a format: a '%' in it is drawn as it is.
  PrintText("%s", shown->name.c_str());
  glScalef(2.0f, 2.0f, 2.0f);
  glEnable(GL_DEPTH_TEST);
  DrawJoinedLine(second);

  SpinAngle += 0.1f;
  FadeMenuTint(SelectionTintFade);
}

void CarSelectionInput() {
  SecondPlayerJoinInput();
  if (!TwoPlayers()) CarChooser = 1;
  if (CarChooser == 2) {
    SecondCarInput();
  } else {
    FirstCarInput();
  }
  if (ScreenState != screen::CarSelection) ForgetLeaveHold();
}
