// The race screen's draw and input operations for the main loop.
#include "race/race_screen.h"

#include <GL/gl.h>

#include "race/race.h"

bool DrawRaceScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  CurrentRace.drawFrame();
  return true;
}

void RaceScreenInput() {
  CurrentRace.handleInput();
}
