// What tells one track from another beyond its name: a hash of the racing content, and the
// name that best times and ghosts are kept under.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "track/vector3d.h"

class Track;
struct TrackFileContent;

// FNV-1a over the name, steps, half width, laps and control points: changes with any edit that
// changes the race, not with comments or picture names.
uint64_t TrackHash(const Track& track);
uint64_t TrackHash(const TrackFileContent& content);
// Built-in tracks keep their plain name; a track read from a file is kept under its name and
// its hash ("Harbour #0123456789abcdef"), so an edited track starts a fresh table.
std::string TrackRecordsName(const Track& track);
// The records name of a track file's content, as TrackRecordsName gives it once it is loaded.
std::string TrackRecordsName(const TrackFileContent& content);
