// Program-wide flags of the application frame, read and written by the loop and the screens.
#pragma once

#include <cstdint>

// The screens' numbers, as ScreenState holds them.
namespace screen {
constexpr int16_t MainMenu = 0;
constexpr int16_t CarSelection = 1;
constexpr int16_t TrackSelection = 2;
constexpr int16_t Race = 3;
constexpr int16_t Controls = 4;
constexpr int16_t Replay = 5;
constexpr int16_t Editor = 6;
constexpr int16_t EditorDrive = 7;  // a race trying the edited track
constexpr int16_t Cup = 8;          // a race of a cup over every track
constexpr int16_t CupResults = 9;
constexpr int16_t Count = 10;
}  // namespace screen

// Current screen, one of the numbers above; others draw nothing.
extern int16_t ScreenState;
// When true the main loop ends after the current iteration.
extern bool QuitRequested;
// False exactly while the game window is minimised.
extern bool Active;
// Whether the game window runs full screen.
extern bool Fullscreen;
