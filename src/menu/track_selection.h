// The track selection screen: a turning wire preview of the chosen track and its name, and its
// keys; Enter starts the race.
#pragma once

#include <string>

// Last selectable TrackTable slot: the last built-in track, or the last file track when any
// were read (TrackCount - 1).
int LastSelectableTrack();

// The line naming the ghost the next race runs against, shown with an imported ghost of the
// shown track and car: "Ghost: yours, 95.00 seconds", the imported one's player and time, or
// "Ghost: none" when there is none to race.
std::string GhostLineText();

// Draws one frame of the track selection.
void DrawTrackSelection();
// Right and Left step through the tracks (round from the last to the first and back only when
// track files added tracks; with the built-in three alone they stop at the ends); ESC goes back to
// the car selection, Enter starts the race on the chosen track with the chosen car.
void TrackSelectionInput();
