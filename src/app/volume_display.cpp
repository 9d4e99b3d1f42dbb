// The volume's and the sound switch's note: in the bottom right corner, clear of every screen's
// texts, which sit centred or along the top; drawn after the screen, without depth test, in the
// screen's perspective (45 degrees, the window's aspect).
#include "app/volume_display.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "game/game_sounds.h"

namespace {

constexpr double ShownSeconds = 1.0;
constexpr float Depth = 25.0f, Scale = 0.5f, Margin = 0.6f;

}  // namespace

void DrawVolumeShown(double now) {
  // The last of the two changes is shown.
  const double volumeAt = SoundVolumeChangedAt(), switchedAt = SoundSwitchedAt();
  const double changed = std::max(volumeAt, switchedAt);
  if (changed < 0 || now - changed > ShownSeconds) return;
  GLint viewport[4] = {0, 0, 1, 1};
  glGetIntegerv(GL_VIEWPORT, viewport);
  const float aspect = viewport[3] > 0 ? float(viewport[2]) / float(viewport[3]) : 1.0f;
  const float halfHeight = Depth * std::tan(22.5f * 3.14159265f / 180.0f);
  const float halfWidth = halfHeight * aspect;
  const std::string text = switchedAt > volumeAt ? (SoundOn() ? "Sound on" : "Sound off")
                                                 : "Volume " + std::to_string(SoundVolume());
  const float width = TextWidth(text);

  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(halfWidth - Margin - Scale * width / 2, -halfHeight + Margin, -Depth);
  glScalef(Scale, Scale, Scale);
  glColor3f(0.9f, 0.9f, 0.9f);
  PrintText("%s", text.c_str());
  glPopMatrix();
  glPopAttrib();
}
