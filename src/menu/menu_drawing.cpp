// Background quad, arrow pair and tint fade shared by the menu screens.
#include "menu/menu_drawing.h"

#include <GL/gl.h>

#include "game/game_setup.h"

void DrawMenuBackground(uint32_t texture) {
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, texture);
  glColor3f(MenuTint.red, MenuTint.green, MenuTint.blue);
  glBegin(GL_QUADS);
  glTexCoord2f(0.0f, 0.0f);
  glVertex3f(-1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 0.0f);
  glVertex3f(1.0f, -1.0f, 1.0f);
  glTexCoord2f(1.0f, 1.0f);
  glVertex3f(1.0f, 1.0f, 1.0f);
  glTexCoord2f(0.0f, 1.0f);
  glVertex3f(-1.0f, 1.0f, 1.0f);
  glEnd();
  glColor3f(1.0f, 1.0f, 1.0f);
  glDisable(GL_TEXTURE_2D);
}

void DrawSelectionArrows() {
  const float r = MenuTint.red;
  const float g = MenuTint.green;
  const float b = MenuTint.blue;
  glBegin(GL_TRIANGLES);
  glColor3f(r, 0.0f, 0.0f);
  glVertex3f(0.0f, 1.0f, 0.0f);
  glColor3f(0.0f, 0.0f, b);
  glVertex3f(-1.0f, -1.0f, 0.0f);
  glColor3f(0.0f, g, 0.0f);
  glVertex3f(1.0f, -1.0f, 0.0f);
  glColor3f(r, 0.0f, 0.0f);
  glVertex3f(0.0f, -4.0f, 0.0f);
  glColor3f(0.0f, g, 0.0f);
  glVertex3f(1.0f, -2.0f, 0.0f);
  glColor3f(0.0f, 0.0f, b);
  glVertex3f(-1.0f, -2.0f, 0.0f);
  glEnd();
}

namespace {

void Fade(float& component, float floor, float step) {
  if (component > floor) {
    component -= step;
  } else {
    component = 1.0f;
  }
}

}  // namespace

void FadeMenuTint(const TintFade& fade) {
  Fade(MenuTint.red, fade.redFloor, fade.redStep);
  Fade(MenuTint.green, fade.greenFloor, fade.greenStep);
  Fade(MenuTint.blue, fade.blueFloor, fade.blueStep);
}
