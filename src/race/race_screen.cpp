// The race screen's draw and input operations for the main loop: the races drawn, each player's
// keys read, and player one's keys that act on the whole race.
#include "race/race_screen.h"

#include <GL/gl.h>

#include "game/action_input.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_of_two.h"
#include "race/race_start.h"

namespace {

constexpr int KeyV = 0x56;

// A player's view keys: their driver's and chase views, and one pad button for both (Y by
// default) that switches to the other view.
void ViewInput(Race& race) {
  if (race.player == nullptr || race.player->car == nullptr) return;
  const Controls& controls = GameControls(race.racer);
  const int viewButton = controls[Action::DriverView].pad;
  if (viewButton != 0 && viewButton == controls[Action::ChaseView].pad &&
      TakeKeyPress(PadKeyOf(viewButton, controls.player()))) {
    race.view = race.view == Race::DriverView ? Race::ChaseView : Race::DriverView;
  }
  if (TakeAction(controls, Action::DriverView)) race.view = Race::DriverView;
  if (TakeAction(controls, Action::ChaseView)) race.view = Race::ChaseView;
}

// Player one's keys that act on the whole race: the ghost, the replay (`watch`) once every race
// is done (it would take the screen from a player still racing), Escape and restart.
void WholeRaceInput(Race& race, void (*watch)()) {
  const Controls& controls = GameControls(race.racer);
  if (TakeAction(controls, Action::Ghost)) race.ghost.toggleShown();
  if (watch != nullptr && race.replayOffered() && TakeKeyPress(KeyV)) watch();
  if (TakeKeyPress(VK_ESCAPE)) {
    ScreenState = screen::MainMenu;
  } else if (TakeAction(controls, Action::Restart) && race.player != nullptr) {
    // The same race again from "READY" (its first frame sounds it), as Enter on the track
    // selection starts it, for every player; the race left behind is not recorded.
    StartSelectedRace();
  }
}

}  // namespace

bool DrawRaceScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (RaceOfTwo())
    DrawRaceOfTwo();
  else
    Races[0].drawFrame();
  return true;
}

void RaceScreenInput(void (*watch)()) {
  // The others' keys after player one's, whose Escape and restart act on every race.
  for (int i = 0; i < MaxPlayers; ++i) {
    Race& race = Races[i];
    if (i > 0 && race.player == nullptr) continue;
    race.handleInput();
    ViewInput(race);
    if (i == 0) WholeRaceInput(race, watch);
  }
}
