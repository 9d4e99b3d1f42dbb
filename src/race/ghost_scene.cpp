// The ghost in the race picture: its car drawn translucent where its path says, the lap split
// under the race time and the whole race's difference beside the best time at the finish.
#include <GL/gl.h>

#include "assets/outline_font.h"
#include "game/game_setup.h"
#include "platform/gl_context_generation.h"
#include "race/race.h"
#include "records/race_time.h"

namespace {

// How much of the ghost's colour covers what is behind it.
constexpr float GhostOpacity = 0.45f;

// The width of a text as PrintText draws it, in the units of the current matrix.
float TextWidth(const std::string& text) {
  float width = 0;
  for (unsigned char c : text) width += GlyphMetrics[c].cellIncX;
  return width;
}

// Green ahead (or even), red behind.
void SplitColour(int32_t difference) {
  if (difference <= 0)
    glColor3f(0.2f, 1.0f, 0.2f);
  else
    glColor3f(1.0f, 0.3f, 0.3f);
}

}  // namespace

void Race::drawGhost() {
  const GhostPose* pose = ghost.pose();
  if (pose == nullptr || player->car == nullptr) return;
  const Model& model = player->car->model;
  if (model.displayList == 0 || model.displayListGeneration != platform::GlContextGeneration())
    return;
  // Blended over the finished scene; it tests depth (what is nearer hides it) but writes none,
  // so nothing drawn later is hidden by it.
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT |
               GL_TEXTURE_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glColor4f(1.0f, 1.0f, 1.0f, GhostOpacity);
  glPushMatrix();
  // The player's car in the chase view stands in the world exactly so: at its position, turned
  // by its angles, at 1/400 of the model's size, facing backwards.
  glTranslatef(pose->x, pose->y, pose->z);
  glRotatef(pose->heading, 0.0f, 1.0f, 0.0f);
  glRotatef(pose->pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(pose->roll, 0.0f, 0.0f, 1.0f);
  glScalef(0.0025f, 0.0025f, 0.0025f);
  glRotatef(-180.0f, 0.0f, 1.0f, 0.0f);
  glCallList(model.displayList);
  glPopMatrix();
  glPopAttrib();
}

void Race::drawSplit() {
  const auto split = ghost.split();
  if (!split) return;
  // Under the laps line, smaller, clear of both lines above it.
  glLoadIdentity();
  glTranslatef(0.0f, 6.9f, -25.0f);
  glScalef(0.8f, 0.8f, 0.8f);
  SplitColour(*split);
  PrintText("%s", SplitText(*split).c_str());
}

void Race::drawRaceDifference() {
  const auto difference = ghost.raceDifference();
  if (!difference) return;
  const std::string text = SplitText(*difference);
  // On the best-time line (drawBestTime), right of its end with a gap of one em.
  float right = 1.0f;
  if (bestTime) {
    right +=
        TextWidth("Best time: " + RaceTimeText(static_cast<double>(*bestTime)) + " seconds") / 2;
  }
  glLoadIdentity();
  glTranslatef(0.0f, -5.3f, -15.0f);
  glScalef(0.5f, 0.5f, 0.5f);
  glTranslatef(right + TextWidth(text) / 2, 0.0f, 0.0f);
  SplitColour(*difference);
  PrintText("%s", text.c_str());
}
