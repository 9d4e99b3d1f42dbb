// The game's screens, as the main loop dispatches them.
#include "app/screens.h"

#include "editor/editor_screen.h"
#include "menu/car_selection.h"
#include "menu/controls_screen.h"
#include "menu/cup.h"
#include "menu/main_menu.h"
#include "menu/track_selection.h"
#include "platform/frame_flags.h"
#include "race/race_screen.h"
#include "replay/replay_screen.h"

namespace {
void DrawRace() {
  DrawRaceScreen();
}
// V on the race's closing message watches the race just driven.
void RaceInput() {
  RaceScreenInput(WatchRaceJustDriven);
}
}  // namespace

ScreenOps Screens[ScreenCount] = {
    {DrawMainMenu, MainMenuInput},
    {DrawCarSelection, CarSelectionInput},
    {DrawTrackSelection, TrackSelectionInput},
    {DrawRace, RaceInput},
    {DrawControlsScreen, ControlsScreenInput},
    {DrawReplayScreen, ReplayScreenInput},
    {DrawTrackEditor, TrackEditorInput},
    {DrawEditorDrive, EditorDriveInput},
    {DrawCupRace, CupRaceInput},
    {DrawCupResults, CupResultsInput},
};

const ScreenOps* CurrentScreen() {
  if (ScreenState < 0 || ScreenState >= ScreenCount) return nullptr;
  return &Screens[ScreenState];
}
