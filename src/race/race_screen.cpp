// The race screen's draw and input operations for the main loop.
#include "race/race_screen.h"

#include <GL/gl.h>

#include "race/race.h"
#include "race/race_of_two.h"

bool DrawRaceScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (RaceOfTwo())
    DrawRaceOfTwo();
  else
    CurrentRace.drawFrame();
  return true;
}

void RaceScreenInput() {
  CurrentRace.handleInput();
  // Player two's keys after player one's (whose Escape and restart act on both races).
  if (RaceOfTwo()) SecondRace.handleInput();
}
