// The tracks read from files, put into TrackTable after the built-in three.
#pragma once

#include <string>
#include <vector>

#include "track/track_sources.h"

class Track;

// Reads the track folders once per run (later calls keep what was read), saying on standard
// error why each refused file is refused. The entries in selection order.
const std::vector<TrackFileEntry>& KnownTrackFiles();

// Where a track's picture or model named `file` is read from: beside the track file, else in
// the data folder's Data/, else `fallback` (a built-in track's file) with one line on standard
// error.
std::string TrackAssetPath(const TrackFileEntry& entry, const std::string& file,
                           const char* fallback);

// Fills TrackTable entries 3 onwards from KnownTrackFiles (as many as fit) and sets TrackCount;
// pictures and banners are loaded as DefineTracks loads those of the built-in tracks. Needs a
// current GL context.
void DefineFileTracks();

// Copies a file's content into a track: name, centre line sampled at its steps, width, laps.
// GL-free.
void SetTrackShape(Track& track, const TrackFileContent& content);
