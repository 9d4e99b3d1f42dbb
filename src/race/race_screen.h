// The race screen's two operations for the main loop (screen::Race).
#pragma once

// Clears the buffers, loads the identity matrix and draws one race frame. Always true.
bool DrawRaceScreen();
// Reads the race keys.
void RaceScreenInput();
