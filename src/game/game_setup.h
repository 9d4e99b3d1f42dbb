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
// empty; nothing is reported. BeginGameSetup and then FinishGameSetup.
void GameSetup();
// GameSetup in two steps, as the game's window takes it so that the main menu shows sooner:
// BeginGameSetup loads what that menu draws (its picture) and puts the selections back;
// FinishGameSetup loads the rest in the same order (the car and track menus' pictures, the cars,
// the built-in tracks), waiting for its pictures, and does nothing when nothing is left.
void BeginGameSetup();
void FinishGameSetup();
// One step of FinishGameSetup (the menus' pictures, the cars or the tracks), so that a frame
// between two steps keeps its pace; does nothing when nothing is left.
void FinishGameSetupStep();
// True from BeginGameSetup until FinishGameSetup has run.
bool GameSetupUnfinished();
// Leaves an unfinished GameSetup as it is and forgets every picture asked for and not taken: a
// game that ends hands nothing of its own folders to a game started after it in the process.
void DropGameSetup();
// True when FinishGameSetup would not wait: its pictures were asked for and are all prepared.
bool GameSetupReady();

// Starts preparing the main menu's picture on a worker, before the window exists.
void PrefetchMainMenuPicture();
// Starts preparing the rest of GameSetup's pictures on worker threads (see PrefetchTextures) and
// reading the track files (StartReadingTrackFiles); once between a BeginGameSetup and its
// FinishGameSetup, which asks itself when nothing did.
void PrefetchGamePictures();
