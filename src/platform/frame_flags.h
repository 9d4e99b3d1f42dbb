// Program-wide flags of the application frame, read and written by the loop and the screens.
#pragma once

#include <cstdint>

// Current screen: 0 main menu, 1 car selection, 2 track selection, 3 race, 4 replay; others draw
// nothing.
extern int16_t ScreenState;
// When true the main loop ends after the current iteration.
extern bool QuitRequested;
// False exactly while the game window is minimised.
extern bool Active;
// Whether the game window runs full screen.
extern bool Fullscreen;
