// The replay's messages: the race's own texts as they were at the step on screen (time and laps
// while running, the headline and the line under it at the end), and the replay's status line.
#include <GL/gl.h>

#include "assets/outline_font.h"
#include "game/game_setup.h"
#include "race/race.h"
#include "race/race_time.h"
#include "replay/replay_screen.h"

namespace {

// The race's turning yellow headline and the line under it, without the race's ESC line.
void Closing(const char* headline, float scale) {
  glLoadIdentity();
  glColor3f(1.0f, 1.0f, 0.0f);
  glTranslatef(0.0f, -0.1f, -3.0f);
  glRotatef(SpinAngle * 10.0f, 0.0f, 1.0f, 0.0f);
  glScalef(scale, scale, scale);
  PrintText("%s", headline);
  glLoadIdentity();
  glTranslatef(0.0f, -2.7f, -15.0f);
}

}  // namespace

void DrawReplayMessages(const Replay& replay) {
  DrawReplayRaceMessages(replay, 0);
  DrawReplayStatus(replay);
}

void DrawReplayRaceMessages(const Replay& replay, int car) {
  const ReplayHud hud = replay.hud(car);
  glDisable(GL_DEPTH_TEST);
  switch (hud.state) {
    case Race::Running:
      glLoadIdentity();
      glColor3f(0.8f, 0.8f, 0.8f);
      glTranslatef(0.0f, 8.9f, -25.0f);
      PrintText("%s seconds", RaceTimeText(static_cast<double>(hud.seconds)).c_str());
      glLoadIdentity();
      glTranslatef(0.0f, 8.0f, -25.0f);
      PrintText("Laps left: %i ", hud.lapsLeft);
      break;
    case Race::Crashed:
      Closing("Kaboom!!!", 0.5f);
      PrintText("Your car has too much damage");
      break;
    case Race::Finished:
      Closing("Congratulation!!!", 0.4f);
      glColor3f(0.3f, 1.0f, 0.7f);
      glScalef(0.85f, 0.85f, 0.85f);
      PrintText("Your time for the race is %s seconds",
                RaceTimeText(static_cast<double>(hud.seconds)).c_str());
      break;
    default:
      break;
  }
  glEnable(GL_DEPTH_TEST);
}

void DrawReplayStatus(const Replay& replay) {
  // Small, at the foot of the picture, under every message of the race.
  glDisable(GL_DEPTH_TEST);
  glLoadIdentity();
  glColor3f(0.8f, 0.8f, 0.8f);
  glTranslatef(0.0f, -1.12f, -3.0f);
  glScalef(0.08f, 0.08f, 0.08f);
  PrintText("%s", replay.statusText().c_str());
  glEnable(GL_DEPTH_TEST);
}
