// What a ghost file names its track by, so that a ghost is only ever raced on the track it was
// driven on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The key of the track of this name: the name itself for the built-in tracks. The one place a
// track read from a file adds the hash of its content.
std::string TrackKey(std::string_view trackName);

// The keys of every track this game races on. GL-free.
std::vector<std::string> KnownTrackKeys();
