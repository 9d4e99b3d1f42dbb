// The state the menus choose and the race uses (the car roster, the selected track, the
// spin angle, the menu pictures and tint), and GameSetup, which loads every asset of the game.
// In game/, the state the menus choose and the race reads; it includes no menu or race code.
#pragma once

#include <cstdint>
#include <string>

#include "assets/model.h"

class Track;

// One car of the roster: its name, driving values and 3-D model.
struct Car {
  std::string name = "Peace";
  float acceleration = 0.0002f;  // push per frame while accelerating
  float steering = 0.1f;         // turn-rate factor of the steering keys
  float health = 8.0f;           // damage capacity; the race is lost below 0
  Model model;                   // drawn only through model.displayList

  Car() = default;
  Car(const Car&) = delete;
  Car& operator=(const Car&) = delete;
};

constexpr int CarRosterSize = 32;
// Only slots 0 to 2 are filled by GameSetup and selectable; the rest keep their defaults.
extern Car CarRoster[CarRosterSize];
// The names GameSetup gives slots 0 to 2, known before any window exists (GL-free).
constexpr const char* RosterCarNames[] = {"SMiLE", "911PIZ", "FlyingTaco"};

// Red, green and blue of the tint every menu background is drawn with.
struct MenuColor {
  float red;
  float green;
  float blue;
};

// Texture names of the three menu backgrounds (0 when the picture could not be loaded).
extern uint32_t MenuMainTexture;
extern uint32_t MenuCarTexture;
extern uint32_t MenuTrackTexture;
// Tint of the menu backgrounds; each menu screen fades it once per frame.
extern MenuColor MenuTint;
// TrackTable slot chosen on the track selection screen (0 to 2) and that slot.
extern int16_t SelectedTrackIndex;
extern Track* SelectedTrack;
// Angle in degrees about the vertical axis that every screen turns its pictures and texts by.
// Starts at 0 and is never reset by GameSetup.
extern float SpinAngle;

// Loads the menu textures, the three roster cars and the tracks into the current GL context and
// puts the car and track selections back on their first entries (the main menu's own entry is
// reset by ResetMainMenu). Missing files leave textures 0 and models
// empty; nothing is reported.
void GameSetup();
// Starts preparing the menu, car and track pictures on worker threads (see PrefetchTextures)
// and reading the track files (StartReadingTrackFiles), so that the next GameSetup finds them
// ready; GameSetup calls it itself when nothing asked since the last one.
void PrefetchGamePictures();
