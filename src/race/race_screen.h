// The race screen's two operations for the main loop (screen::Race).
#pragma once

// Clears the buffers, loads the identity matrix and draws one race frame. Always true.
bool DrawRaceScreen();
// Reads the race keys: each player's driving keys, nitro and views, then player one's keys that
// act on the whole race: G shows or hides the ghost, V on the closing message (once every race
// is done) calls `watch` (the replay, which the race does not know; none: V does nothing),
// Escape leaves for the main menu and restart starts the same race again.
void RaceScreenInput(void (*watch)() = nullptr);
