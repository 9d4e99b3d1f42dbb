// The car selection screen: the chosen roster car turning above its name, and its keys.
#pragma once

// Last selectable roster slot.
constexpr int LastSelectableCar = 2;

// Draws one frame of the car selection.
void DrawCarSelection();
// Right and Left step through the cars (no wrap-around); Enter goes on to the track selection,
// ESC back to the main menu.
void CarSelectionInput();
