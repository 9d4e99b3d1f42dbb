// The three built-in tracks: their control points, textures, banners and names.
#pragma once

#include <vector>

#include "assets/texture.h"
#include "track/track_curve.h"
#include "track/track_file.h"

constexpr int BuiltInTrackCount = 3;

// Writes "Sunny", "BlueSky" and "Yello" into TrackTable entries 0 to 2: centre lines sampled at
// 40 steps, road and border textures and banner models loaded from Data/ (a missing file leaves
// that texture 0 or that banner empty), sky pictures checked but not loaded (UseSkyOf loads the
// raced one; a sky texture left from this context is deleted, one from an earlier context
// forgotten), and the names. Needs a current GL context.
void DefineTracks();

// The road and border pictures (to load) and sky pictures (only to check) of the built-in
// tracks, in the order DefineTracks takes them.
std::vector<PictureRequest> BuiltInTrackPictures();

// The name of built-in track `index` (0 to 2; empty for anything else). GL-free.
const char* BuiltInTrackName(int index);

// Built-in track `index` (0 to 2) as a track file would hold it: name, steps, width, laps,
// pictures (plain names in Data/) and control points. GL-free: the editor copies it.
TrackFileContent BuiltInTrackContent(int index);

// The sampled curve of built-in track `index` (0 to 2; anything else gives an empty curve with
// 40 steps). GL-free: used by DefineTracks and by tools that only need the shapes.
TrackCurve BuiltInTrackCurve(int index);
