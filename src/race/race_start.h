// The start of a race on the selected track with the selected car.
#pragma once

// Switches to the race screen, builds the road of SelectedTrack, gives it its sky texture (the
// other tracks' skies are freed), puts a fresh car state for player one's car at the front
// of their race, restores the roster cars' health and starts the race; with others joined, theirs
// too (see race_of_two.h).
void StartSelectedRace();
