// The start of a race: from the track selection's Enter (or a test) to "READY".
#include "race/race_start.h"

#include "game/game_setup.h"
#include "game/players.h"
#include "platform/frame_flags.h"
#include "platform/timeline.h"
#include "race/race.h"
#include "race/race_autopilot.h"
#include "race/race_of_two.h"
#include "track/track.h"

void StartSelectedRace() {
  // Without a chosen track there is nothing to race on.
  if (SelectedTrack == nullptr) return;
  ScreenState = screen::Race;
  GiveAutopilotMedals(*SelectedTrack);  // a file's track without its own
  SelectedTrack->buildRoad();
  UseSkyOf(*SelectedTrack);
  platform::TimelineMark("race: road and sky made");
  Race& one = Races[0];
  one.track = SelectedTrack;
  CarState fresh;
  fresh.car = &Players[0].car();
  one.cars.insert(one.cars.begin(), fresh);
  // Taken after the insertion, which may move the elements.
  one.player = &one.cars.front();
  CarRoster[2].health = 18.0f;
  CarRoster[1].health = 4.5f;
  CarRoster[0].health = 8.0f;
  one.start();
  // The others who have joined race beside player one from the same countdown.
  EndRacesBeside();
  for (int i = 1; i < MaxPlayers; ++i)
    if (Playing(Players[i])) StartRaceBeside(Players[i]);
}
