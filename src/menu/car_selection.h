// The car selection screen: the chosen roster car turning above its name, and its keys. With
// player two joined, it chooses a car for each player in turn.
#pragma once

// Last selectable roster slot.
constexpr int LastSelectableCar = 2;

// Draws one frame of the car selection.
void DrawCarSelection();
// Right and Left step through the cars (no wrap-around); Enter goes on to the track selection,
// ESC back to the main menu. Player two joins and leaves here; once joined, player one's Enter
// hands the choice to player two (their steer keys or the menu's step, their accelerate or
// Enter takes, Escape goes back to player one's choice).
void CarSelectionInput();

// Whose car is being chosen: 1, or 2 after player one's Enter with player two joined.
extern int CarChooser;
