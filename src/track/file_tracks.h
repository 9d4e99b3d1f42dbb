// The tracks read from files, put into TrackTable after the built-in three.
#pragma once

#include <string>
#include <vector>

#include "track/track_sources.h"

class Track;

// Starts reading the track folders on a worker, so that the files are read while the window
// opens (the game's start); the data folder must be known by then.
void StartReadingTrackFiles();
// The track files of the latest reading (waiting for the worker; reading now when none was
// ever started), in selection order; each refused file is named on standard error with its
// reasons.
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
