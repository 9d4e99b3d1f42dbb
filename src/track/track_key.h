// What a ghost file names its track by, so that a ghost is only ever raced on the track it was
// driven on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The key of the track of this records name (TrackRecordsName: the name itself for the built-in
// tracks, the name and the content's hash for a track read from a file).
std::string TrackKey(std::string_view trackName);

// The keys of every track this game races on: the built-in ones and the track files of the data
// folder in use and the player's folder. GL-free.
std::vector<std::string> KnownTrackKeys();
