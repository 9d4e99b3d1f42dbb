// The command-line options about tracks: checking track files and listing the tracks offered.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// For each file, "<file>: <name>, <length> units, <segments> segments, <laps> laps" on `out`, or
// each reason it is refused (with its line) on `out`, a name taken by a track the game offers
// before it among them; notes go to `err`. 0 when all are good, 1 otherwise. Needs the data
// folder located.
int CheckTrackFiles(const std::vector<std::string>& files, std::FILE* out, std::FILE* err);

// Every track of the track selection, in its order, one line each: the name, a tab, then
// "built-in" or the file it was read from. Refused files, and the files left out for want of
// room, are named on `err`. Needs the data folder located.
int ListTracks(std::FILE* out, std::FILE* err);
