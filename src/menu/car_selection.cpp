// The car selection: the chosen car's model turning over the background, its name below, and
// the keys that step through the roster.
#include "menu/car_selection.h"

#include <GL/gl.h>

#include "assets/outline_font.h"
#include "game/controls.h"
#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "menu/menu_drawing.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"

namespace {

void SelectCar(int index) {
  SelectedCarIndex = static_cast<int16_t>(index);
  SelectedCar = &CarRoster[index];
}

}  // namespace

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
  if (SelectedCar->model.displayList != 0) {
    glCallList(SelectedCar->model.displayList);
  }

  glLoadIdentity();
  glColor3f(0.0f, 0.5f, 0.5f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(0.0f, -1.2f, -3.0f);
  glRotatef(SpinAngle * 0.33333334f, 0.0f, 1.0f, 0.0f);
  glScalef(0.5f, 0.5f, 0.5f);
  // The name is text, not a format: a '%' in it is drawn as it is.
  PrintText("%s", SelectedCar->name.c_str());
  glScalef(2.0f, 2.0f, 2.0f);
  glEnable(GL_DEPTH_TEST);

  SpinAngle += 0.1f;
  FadeMenuTint(SelectionTintFade);
}

void CarSelectionInput() {
  const Controls& controls = GameControls();
  if (TakeAction(controls, Action::MenuRight)) {
    if (SelectedCarIndex < LastSelectableCar) {
      PlaySound(Sound::Tick);
      SelectCar(SelectedCarIndex + 1);
    }
  }
  if (TakeAction(controls, Action::MenuLeft)) {
    if (SelectedCarIndex > 0) {
      PlaySound(Sound::Tick);
      SelectCar(SelectedCarIndex - 1);
    }
  }
  if (TakeAction(controls, Action::MenuTake)) {
    PlaySound(Sound::Confirm);
    ScreenState = 2;
    SpinAngle = 70.0f;
  }
  if (TakeAction(controls, Action::MenuBack)) {
    PlaySound(Sound::Back);
    ScreenState = 0;
  }
}
