// The track editor's screens for the main loop: the map where a track is edited, and the race
// that tries it (T) before it is saved.
#pragma once

#include <cstdint>

#include "platform/frame_flags.h"

class Track;

constexpr int16_t EditorScreenState = screen::Editor;
constexpr int16_t EditorDriveScreenState = screen::EditorDrive;

// Opens the editor on TrackTable entry `index`: a track from the player's own folder is edited in
// its file; any other (built in, shipped) as a copy named "<name> 2", "<name> 3" ... as free.
void OpenTrackEditor(int index);
// Whether `track` was read from the player's own track folder (and so is edited in its file).
bool IsPlayerTrack(const Track& track);
// Opens the editor on a new track: a simple oval.
void OpenNewTrackEditor();

// The map's frame and keys.
void DrawTrackEditor();
void TrackEditorInput();
// The trial race's frame and keys: the race as the race screen runs it, recorded for the map;
// Escape, or the closing message's end, goes back to the map.
void DrawEditorDrive();
// The part of its frame after the race's: the path recorded, and the map again once the closing
// message has shown for three seconds.
void FollowEditorDrive();
void EditorDriveInput();
