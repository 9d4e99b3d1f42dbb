// The tracks read from files, put into TrackTable after the built-in three.
#pragma once

#include <string>
#include <vector>

#include "track/track_sources.h"

class Track;

// Starts reading the track folders on a worker, so that the files are read while the first
// frames are drawn; the data folder must be known by then.
void StartReadingTrackFiles();
// The track files of the latest reading (waiting for the worker; reading now when none was
// ever started), in selection order; each refused file is named on standard error with its
// reasons.
const std::vector<TrackFileEntry>& KnownTrackFiles();

// Forgets the latest reading: the next KnownTrackFiles reads the folders again (a track was
// saved into one).
void ForgetTrackFiles();

// Ends a reading under way and drops it and the latest one: a game that ends leaves nothing of
// its folders behind for a game started after it in the same process.
void DropTrackFileReading();

// Where a track's picture or model named `file` is read from: beside the track file, else in
// the data folder's Data/, else `fallback` (a built-in track's file) with one line on standard
// error.
std::string TrackAssetPath(const TrackFileEntry& entry, const std::string& file,
                           const char* fallback);

// Fills TrackTable entries 3 onwards from KnownTrackFiles (waiting for the reading) and sets
// TrackCount, once per reading: the track selection calls it, so that the files never hold the
// first frame. The pictures and banner of each are only named here: LoadFileTrackPictures loads
// them, and UseSkyOf the sky, when the track is raced (each checks the context it was made in).
void DefineFileTracks();

// Loads the road and border pictures and the banner of a file's track, unless they are already
// there in this context; nothing for a built-in track. Needs a current GL context.
void LoadFileTrackPictures(Track& track);

// Copies a file's content into a track: name, centre line sampled at its steps (the checked
// line when the content holds it), width, laps. GL-free.
void SetTrackShape(Track& track, const TrackFileContent& content);
