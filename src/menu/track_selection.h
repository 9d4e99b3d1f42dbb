// The track selection screen: a turning wire preview of the chosen track and its name, and its
// keys; Enter starts the race.
#pragma once

// Last selectable TrackTable slot.
constexpr int LastSelectableTrack = 2;

// Draws one frame of the track selection.
void DrawTrackSelection();
// Right and Left step through the tracks (no wrap-around); ESC goes back to the car selection,
// Enter starts the race on the chosen track with the chosen car.
void TrackSelectionInput();
