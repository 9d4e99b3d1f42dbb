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
    Races[0].drawFrame();
  return true;
}

void RaceScreenInput() {
  Races[0].handleInput();
  // The others' keys after player one's (whose Escape and restart act on every race).
  for (int i = 1; i < MaxPlayers; ++i)
    if (Races[i].player != nullptr) Races[i].handleInput();
}
