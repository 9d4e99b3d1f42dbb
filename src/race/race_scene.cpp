// The race picture: the scrolling sky, the car in the chase view, the banner and the road seen
// from the car, and the messages of the race's phase.
#include <GL/gl.h>

#include "assets/outline_font.h"
#include "assets/text_width.h"
#include "game/game_setup.h"
#include "platform/gl_context_generation.h"
#include "race/camera_aim.h"
#include "race/race.h"
#include "race/race_time.h"
#include "track/track.h"

namespace {

// 1/180 in single precision.
constexpr float DegreeFraction = 0.0055555557f;

// Calls a display list only if it was made in the current context: an older number may now
// name another object.
void CallList(uint32_t list, uint32_t generation) {
  if (list != 0 && generation == platform::GlContextGeneration()) glCallList(list);
}

// The big yellow line in the middle of the screen, turning with SpinAngle; depth test off.
void BeginHeadline(float spinFactor, float scale) {
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 0.0f);
  glDisable(GL_DEPTH_TEST);
  glTranslatef(0.0f, -0.1f, -3.0f);
  glRotatef(SpinAngle * spinFactor, 0.0f, 1.0f, 0.0f);
  glScalef(scale, scale, scale);
}

}  // namespace

void Race::drawFrame() {
  if (player == nullptr || track == nullptr) return;
  step();
  drawPicture();
  SpinAngle += 0.1f;
}

void Race::drawPicture() {
  drawScene();
  drawMessages();
}

void Race::drawSky(const Vector3f& r) {
  const float a = r.y * 0.06f * DegreeFraction;
  const float b = -r.x * 0.06f * DegreeFraction;
  glColor3f(1.0f, 1.0f, 1.0f);
  glPushAttrib(GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_FOG_BIT |
               GL_VIEWPORT_BIT);
  glEnable(GL_TEXTURE_2D);
  // A sky texture of an earlier context is not bound: the quad is then drawn untextured.
  const bool current = track->skyTextureGeneration == platform::GlContextGeneration();
  glBindTexture(GL_TEXTURE_2D, current ? track->skyTexture : 0);
  glDisable(GL_FOG);
  glDisable(GL_BLEND);
  // Drawn after the scene, at the far end of the depth range and without writing depth: the sky
  // fills only the pixels nothing else covers (still at the cleared depth), exactly as if drawn
  // first beneath everything, and the pixels the scene covers are not textured twice.
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_FALSE);
  glDepthRange(1.0, 1.0);
  glBegin(GL_QUADS);
  glTexCoord2f(-a, -b);
  glVertex3f(-4.0f, -3.0f, -1.5f);
  glTexCoord2f(1 - a, -b);
  glVertex3f(4.0f, -3.0f, -1.5f);
  glTexCoord2f(1 - a, 1 - b);
  glVertex3f(4.0f, 3.0f, -1.5f);
  glTexCoord2f(-a, 1 - b);
  glVertex3f(-4.0f, 3.0f, -1.5f);
  glEnd();
  glPopAttrib();
}

void Race::drawScene() {
  if (standingEye) {
    drawSceneFromStand(*standingEye);
    return;
  }
  const Vector3f& r = player->rotation;
  const Vector3f& p = player->position;
  glLoadIdentity();
  // The sky rolls with 35 % of the car's roll; it is drawn last (drawSky), but the scene keeps
  // the matrix and the white it leaves.
  glRotatef(-r.z * 0.35f, 0.0f, 0.0f, 1.0f);
  glColor3f(1.0f, 1.0f, 1.0f);
  glRotatef(r.z * 0.35f, 0.0f, 0.0f, 1.0f);

  if (view == ChaseView) {
    // The offset and the tilt stay in the matrix: the world is seen from behind and above.
    glTranslatef(-0.025f, -0.07f, -0.13f);
    glScalef(0.0025f, 0.0025f, 0.0025f);
    glRotatef(-180.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(-8.0f, 1.0f, 0.0f, 0.0f);
    if (player->car != nullptr) {
      const Model& model = player->car->model;
      CallList(model.displayList, model.displayListGeneration);
    }
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    glScalef(400.0f, 400.0f, 400.0f);
  }

  glRotatef(-r.z, 0.0f, 0.0f, 1.0f);
  glRotatef(-r.x, 1.0f, 0.0f, 0.0f);
  glRotatef(-r.y, 0.0f, 1.0f, 0.0f);
  glTranslatef(-p.x, -p.y, -p.z);
  glPushMatrix();  // the world, kept for the other player's car and the ghost drawn last
  drawTrack();
  if (rival != nullptr) {
    glPopMatrix();
    glPushMatrix();
    drawRival();
  }

  glLoadIdentity();
  glRotatef(-r.z * 0.35f, 0.0f, 0.0f, 1.0f);
  drawSky(r);
  glPopMatrix();
  drawGhost();
}

void Race::drawTrack() {
  // The banner stands at the world origin, where every centre line starts.
  glScalef(0.01f, 0.01f, 0.01f);
  glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, 19.41f, 0.0f);
  CallList(track->banner.displayList, track->banner.displayListGeneration);
  glTranslatef(0.0f, -19.5f, 0.0f);
  glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
  glScalef(100.0f, 100.0f, 100.0f);
  CallList(track->roadList, track->roadListGeneration);
}

void Race::drawSceneFromStand(const Vector3f& eye) {
  const Vector3f& p = player->position;
  const Vector3f& r = player->rotation;
  const CameraAim aim = AimAt(eye, p);
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 1.0f);
  glRotatef(-aim.pitch, 1.0f, 0.0f, 0.0f);
  glRotatef(-aim.heading, 0.0f, 1.0f, 0.0f);
  glTranslatef(-eye.x, -eye.y, -eye.z);
  glPushMatrix();
  // The car stands at its pose as the ghost does: turned by its angles, at 1/400 of the
  // model's size, facing backwards.
  if (player->car != nullptr) {
    glTranslatef(p.x, p.y, p.z);
    glRotatef(r.y, 0.0f, 1.0f, 0.0f);
    glRotatef(r.x, 1.0f, 0.0f, 0.0f);
    glRotatef(r.z, 0.0f, 0.0f, 1.0f);
    glScalef(0.0025f, 0.0025f, 0.0025f);
    glRotatef(-180.0f, 0.0f, 1.0f, 0.0f);
    const Model& model = player->car->model;
    CallList(model.displayList, model.displayListGeneration);
  }
  glPopMatrix();
  glPushMatrix();
  drawTrack();
  glPopMatrix();
  if (rival != nullptr) {
    glPushMatrix();
    drawRival();
    glPopMatrix();
  }
  glLoadIdentity();
  drawSky(Vector3f(aim.pitch, aim.heading, 0.0));
}

void Race::drawBestTime() {
  if (newBestTime) {
    // Above the turning headline, in its yellow.
    glLoadIdentity();
    glTranslatef(0.0f, 2.6f, -15.0f);
    glColor3f(1.0f, 1.0f, 0.0f);
    glScalef(0.85f, 0.85f, 0.85f);
    PrintText("New best time!");
  }
  if (bestTime) {
    // Under the ESC line, in the colour of the race's own time.
    glLoadIdentity();
    glTranslatef(0.0f, -5.3f, -15.0f);
    glColor3f(0.3f, 1.0f, 0.7f);
    glScalef(0.5f, 0.5f, 0.5f);
    PrintText("Best time: %s seconds", RaceTimeText(static_cast<double>(*bestTime)).c_str());
  }
}

void Race::drawNewMedal() {
  if (newMedal == Medal::None) return;
  // Above "New best time!" (a new medal always comes with one), in the medal's colour.
  const std::array<float, 3> colour = MedalColour(newMedal);
  glLoadIdentity();
  glTranslatef(0.0f, 3.7f, -15.0f);
  glColor3f(colour[0], colour[1], colour[2]);
  glScalef(0.6f, 0.6f, 0.6f);
  PrintText("New medal: %s", MedalName(newMedal));
}

void Race::drawReplayHint() {
  if (!replayOffered()) return;
  // A small still line in the top left corner of the picture, where no message of the race
  // ever stands. The corner is found from the viewport, as a half of a race of two is wider.
  GLint viewport[4] = {0, 0, 4, 3};
  glGetIntegerv(GL_VIEWPORT, viewport);
  const float aspect = viewport[3] > 0 ? float(viewport[2]) / float(viewport[3]) : 4.0f / 3.0f;
  constexpr float Depth = 15.0f, Scale = 0.4f, Margin = 0.5f;
  const float halfHeight = Depth * 0.41421356f;  // tan(22.5 degrees): half the field of view
  const char* hint = "V: watch this race again";
  const float x = -halfHeight * aspect + Margin + Scale * TextWidth(hint) / 2,
              y = halfHeight - Margin - Scale * 0.7f;
  // Grey on a dark shadow, to read over the sky and the kerbs alike.
  for (const float shade : {0.0f, 0.8f}) {
    const float offset = shade == 0.0f ? 0.05f : 0.0f;
    glLoadIdentity();
    glColor3f(shade, shade, shade);
    glTranslatef(x + offset, y - offset, -Depth);
    glScalef(Scale, Scale, Scale);
    PrintText("%s", hint);
  }
}

void Race::drawMessages() {
  switch (state) {
    case Ready:
      BeginHeadline(30.0f, 0.5f);
      PrintText("%s", label.c_str());
      glScalef(2.0f, 2.0f, 2.0f);
      break;
    case Running:
      glLoadIdentity();
      glColor3f(0.8f, 0.8f, 0.8f);
      glDisable(GL_DEPTH_TEST);
      glTranslatef(0.0f, 8.9f, -25.0f);
      PrintText("%s seconds", RaceTimeText(static_cast<double>(now - runStart)).c_str());
      glLoadIdentity();
      glTranslatef(0.0f, 8.0f, -25.0f);
      PrintText("Laps left: %i ", static_cast<int>(static_cast<int16_t>(track->laps) -
                                                   static_cast<int16_t>(player->laps)));
      drawSplit();
      break;
    case Crashed:
      BeginHeadline(10.0f, 0.5f);
      PrintText("Kaboom!!!");
      glLoadIdentity();
      glTranslatef(0.0f, -2.7f, -15.0f);
      PrintText("Your car has too much damage");
      // Placed from the end of the line above, not from the identity.
      glTranslatef(-5.0f, -1.7f, 0.0f);
      glScalef(0.5f, 0.5f, 0.5f);
      PrintText("Press ESC for the main menu");
      drawReplayHint();
      break;
    case Finished:
      BeginHeadline(10.0f, 0.4f);
      PrintText("Congratulation!!!");
      glLoadIdentity();
      glTranslatef(0.0f, -2.7f, -15.0f);
      glColor3f(0.3f, 1.0f, 0.7f);
      glScalef(0.85f, 0.85f, 0.85f);
      PrintText("Your time for the race is %s seconds",
                RaceTimeText(static_cast<double>(finishTime - runStart)).c_str());
      glTranslatef(-5.0f, -1.7f, 0.0f);
      glScalef(0.5f, 0.5f, 0.5f);
      glColor3f(1.0f, 1.0f, 0.0f);
      PrintText("Press ESC for the main menu");
      drawBestTime();
      drawNewMedal();
      drawRaceDifference();
      drawReplayHint();
      break;
    default:
      break;
  }
  glEnable(GL_DEPTH_TEST);
}
