// The ghost in the race picture: its car drawn translucent where its path says, the lap split
// under the race time and the whole race's difference beside the best time at the finish.
#include <GL/gl.h>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "game/game_setup.h"
#include "platform/gl_context_generation.h"
#include "race/race.h"
#include "race/race_time.h"

namespace {

// How much of the ghost's colour covers what is behind it.
constexpr float GhostOpacity = 0.45f;
// In the driver's view a ghost closer than this to the eye is not drawn (world units; the car is
// about a tenth long).
constexpr float NearEye = 0.15f;

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
  // Around the eye in the driver's view (on the start line, say) it would only fill the view.
  const float dx = pose->x - player->position.x, dy = pose->y - player->position.y,
              dz = pose->z - player->position.z;
  if (view == DriverView && dx * dx + dy * dy + dz * dz < NearEye * NearEye) return;
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT | GL_ENABLE_BIT |
               GL_TEXTURE_BIT);
  glPushMatrix();
  // The player's car in the chase view stands in the world exactly so: at its position, turned
  // by its angles, at 1/400 of the model's size, facing backwards.
  glTranslatef(pose->x, pose->y, pose->z);
  glRotatef(pose->heading, 0.0f, 1.0f, 0.0f);
  glRotatef(pose->pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(pose->roll, 0.0f, 0.0f, 1.0f);
  glScalef(0.0025f, 0.0025f, 0.0025f);
  glRotatef(-180.0f, 0.0f, 1.0f, 0.0f);
  // First its depth alone, then its colour blended over the finished scene where it is
  // nearest: each pixel takes the ghost's front surface once, not every layer of the model.
  // What is nearer (the player's car, a wall) still hides it; texts come later, untested.
  glEnable(GL_DEPTH_TEST);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glCallList(model.displayList);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthMask(GL_FALSE);
  glDepthFunc(GL_EQUAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1.0f, 1.0f, 1.0f, GhostOpacity);
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
