// The replay screen: a race watched again with its cameras, pause, seeking and speeds.
#pragma once

#include <cstdint>

#include "replay/replay.h"

class Track;
struct Car;

// The replay on screen and the screen Escape returns to.
extern Replay CurrentReplay;
extern int16_t ReplayReturnScreen;

// Shows `replay` from its first step; Escape goes back to screen `from`.
void OpenReplay(Replay replay, int16_t from);
// V on the track selection: the kept ghost of this track and car, watched with the road and
// sky built as for a race. False (nothing changes) when there is no ghost to watch.
bool WatchBestRace(Track& track, Car& car);
// V on the race's closing message: the race just driven (a race of two with both cars).
void WatchRaceJustDriven();

// The race's messages as they were at the step on screen, and the replay's own line under them.
void DrawReplayMessages(const Replay& replay);
// The messages of one car's race (0: player one's), and the replay's own line.
void DrawReplayRaceMessages(const Replay& replay, int car);
void DrawReplayStatus(const Replay& replay);

// The main loop's operations for the replay screen.
void DrawReplayScreen();
void ReplayScreenInput();
