// What the editor screens share while a track is open: the editing, where it came from, the
// view, and the last trial race's path. Inside the editor only.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "editor/map_view.h"
#include "editor/track_editing.h"

struct DrivenPoint {
  Vector3d at;
  bool hit = false;  // the car hit a border there
};

// Rows of the properties panel.
enum class Property { Name, Laps, Width, Sky, Road, Border, Count };

struct EditorSession {
  std::optional<TrackEditing> editing;
  // The player's file the track is saved over; none for a new track or a copy until saved.
  std::optional<std::filesystem::path> own;
  // Where the track's pictures were found beside it (its file's folder), for choices and drawing.
  std::string pictureFolder;
  MapView view;
  bool viewFitted = false;
  int dragging = -1;  // the waypoint a left drag moves
  bool panning = false;
  int lastX = 0, lastY = 0;
  // The properties panel: open on a row, or closed.
  std::optional<Property> property;
  bool askingToLeave = false;
  std::string message;  // a line about the last save or a refused action
  double messageUntil = 0;
  // Something was saved this time: the track selection reads the folders again.
  bool savedAny = false;
  std::vector<DrivenPoint> driven;
  EditorTargets targets;
  int frames = 0;  // frames drawn, for the message's time
};

extern EditorSession Editor;

// Says `text` under the map for three seconds.
void SayInEditor(const std::string& text);
// Starts the trial race on the track as it stands (only when its check is good).
void DriveEditedTrack();
// The map's picture.
void DrawEditorMap();
// Deletes the map's own textures (the sky preview, its texts'), made again when next drawn.
void ReleaseEditorPictures();
// How many of the map's texts are shown from textures.
size_t EditorTextTextureCount();
