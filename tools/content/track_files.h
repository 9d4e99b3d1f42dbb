// The shipped track files: four tracks written as `.track` text from a few waypoints each,
// with their skies, into Data/Tracks/.
#pragma once

#include <string>
#include <vector>

namespace content {

struct TrackFileText {
  std::string file;  // inside Data/, e.g. "Tracks/Longshore.track"
  std::string text;
};

std::vector<TrackFileText> ShippedTrackFiles();

}  // namespace content
