// The start of a race: from the track selection's Enter (or a test) to "READY".
#include "race/race_start.h"

#include "game/game_setup.h"
#include "game/players.h"
#include "platform/frame_flags.h"
#include "race/race.h"
#include "race/race_of_two.h"
#include "track/track.h"

void StartSelectedRace() {
  // Without a chosen track and car there is nothing to race on.
  if (SelectedTrack == nullptr || SelectedCar == nullptr) return;
  ScreenState = 3;
  SelectedTrack->buildRoad();
  UseSkyOf(*SelectedTrack);
  CurrentRace.track = SelectedTrack;
  CarState fresh;
  fresh.car = SelectedCar;
  CurrentRace.cars.insert(CurrentRace.cars.begin(), fresh);
  // Taken after the insertion, which may move the elements.
  CurrentRace.player = &CurrentRace.cars.front();
  CarRoster[2].health = 18.0f;
  CarRoster[1].health = 4.5f;
  CarRoster[0].health = 8.0f;
  CurrentRace.start();
  // Player two, when joined, races beside player one from the same countdown.
  if (TwoPlayers() && SecondCar != nullptr)
    StartSecondRace(*SecondCar);
  else
    EndSecondRace();
}
