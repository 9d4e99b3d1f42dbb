// The target times of the built-in tracks, which have no track file to hold them: the content
// generator writes them into Data/medals.txt, one line a track ("Sunny 80 72.4 65.8": bronze,
// silver and gold in seconds); lines starting with '#' are comments.
#pragma once

#include <string_view>

#include "track/track_file.h"

constexpr const char* BuiltInTargetsFile = "Data/medals.txt";

// The medals of track `name` in the text of that file; none when it has no good line for it.
TrackTargets BuiltInTrackTargets(std::string_view text, std::string_view name);

// The medals of built-in track `index` as BuiltInTargetsFile gives them (read at each call).
TrackTargets BuiltInTrackTargets(int index);

// Gives TrackTable's built-in tracks the medals of BuiltInTargetsFile; a missing file, or a
// track missing from it, leaves that track without targets.
void ReadBuiltInTrackTargets();
