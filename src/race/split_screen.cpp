// A race of two on one screen: player one's picture in the top half, player two's in the
// bottom half, each with the other's car in it, and the line of who won once both are done.
#include <GL/gl.h>

#include <cmath>
#include <functional>

#include "assets/outline_font.h"
#include "game/game_setup.h"
#include "platform/gl_context_generation.h"
#include "race/race_of_two.h"
#include "race/split_screen.h"

namespace {

// A sphere round the car (world units; the car is about a tenth long and 0.09 wide).
constexpr float CarRadius = 0.15f;
// In the driver's view a car closer than this to the eye is not drawn: it would fill the view.
constexpr float NearEye = 0.15f;

// Whether a sphere may be seen by the current modelview and projection: it is outside when it
// lies wholly beyond one of the six planes of the view volume.
bool MayBeSeen(const Vector3f& at, float radius) {
  GLfloat m[16], p[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  float eye[4];
  for (int i = 0; i < 4; ++i) eye[i] = m[i] * at.x + m[4 + i] * at.y + m[8 + i] * at.z + m[12 + i];
  for (int axis = 0; axis < 3; ++axis) {
    for (float sign : {1.0f, -1.0f}) {
      // The plane w + sign * (x, y or z) = 0 of clip space, in eye space.
      float plane[4];
      for (int j = 0; j < 4; ++j) plane[j] = p[4 * j + 3] + sign * p[4 * j + axis];
      const float length =
          std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
      const float distance =
          plane[0] * eye[0] + plane[1] * eye[1] + plane[2] * eye[2] + plane[3] * eye[3];
      if (length > 0 && distance < -radius * length) return false;
    }
  }
  return true;
}

// The line of who won, above the finish or crash headline and clear of "New best time!".
void DrawOutcome(Outcome outcome) {
  if (outcome == Outcome::Open) return;
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glColor3f(1.0f, 1.0f, 1.0f);
  glTranslatef(0.0f, 4.4f, -15.0f);
  glScalef(0.85f, 0.85f, 0.85f);
  PrintText("%s", OutcomeText(outcome));
  glEnable(GL_DEPTH_TEST);
}

}  // namespace

void DrawStacked(int count, const std::function<void(int)>& draw) {
  GLint full[4];
  glGetIntegerv(GL_VIEWPORT, full);
  GLfloat projection[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  const GLint band = full[3] / count, top = full[3] - (count - 1) * band;
  glPushAttrib(GL_VIEWPORT_BIT | GL_SCISSOR_BIT);
  glEnable(GL_SCISSOR_TEST);
  for (int i = 0; i < count; ++i) {
    // `height` rows from row `y`, drawn through the game's projection narrowed to the band (the
    // same vertical field, so everything keeps its shape at a smaller size).
    const GLint y = full[1] + (count - 1 - i) * band, height = i == 0 ? top : band;
    glViewport(full[0], y, full[2], height);
    glScissor(full[0], y, full[2], height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(static_cast<float>(height) / static_cast<float>(full[3]), 1.0f, 1.0f);
    glMultMatrixf(projection);
    glMatrixMode(GL_MODELVIEW);
    draw(i);
  }
  // A dark line between the bands, one row of each.
  for (int i = 1; i < count; ++i) {
    glScissor(full[0], full[1] + i * band - 1, full[2], 2);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glPopAttrib();
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projection);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void Race::drawRival() {
  if (rival == nullptr || rival->car == nullptr) return;
  const Model& model = rival->car->model;
  if (model.displayList == 0 || model.displayListGeneration != platform::GlContextGeneration())
    return;
  const Vector3f& at = rival->position;
  const float dx = at.x - player->position.x, dy = at.y - player->position.y,
              dz = at.z - player->position.z;
  if (view == DriverView && dx * dx + dy * dy + dz * dz < NearEye * NearEye) return;
  // Behind the eye or off to the side of a half: its many triangles are not sent at all.
  if (!MayBeSeen(at, CarRadius)) return;
  // As the ghost stands: at its position, turned by its angles, 1/400 of the model, backwards.
  glTranslatef(at.x, at.y, at.z);
  glRotatef(rival->rotation.y, 0.0f, 1.0f, 0.0f);
  glRotatef(rival->rotation.x, 1.0f, 0.0f, 0.0f);
  glRotatef(rival->rotation.z, 0.0f, 0.0f, 1.0f);
  glScalef(0.0025f, 0.0025f, 0.0025f);
  glRotatef(-180.0f, 0.0f, 1.0f, 0.0f);
  glColor3f(1.0f, 1.0f, 1.0f);
  glCallList(model.displayList);
}

void DrawRaceOfTwo() {
  if (Races[0].player == nullptr || Races[0].track == nullptr || !RaceOfTwo()) return;
  StepRaceOfTwo();
  const Outcome outcome = OutcomeOf(Races[0], Races[1]);
  DrawStacked(2, [&](int i) {
    Races[i].drawPicture();
    DrawOutcome(outcome);
  });
  SpinAngle += 0.1f;
}
