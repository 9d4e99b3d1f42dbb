// The shipped track files: four tracks written as `.track` text from a few waypoints each,
// with their skies and target times, into Data/Tracks/.
#pragma once

#include <string>
#include <vector>

namespace content {

struct TrackFileText {
  std::string file;  // inside Data/, e.g. "Tracks/Longshore.track"
  std::string text;
};

// The autopilot's race with the first car sets each track's medals: gold its time rounded up to
// the tenth, silver 10 % and bronze 25 % slower (the race tests drive it again to check them).
std::vector<TrackFileText> ShippedTrackFiles();

// The built-in tracks' medals, which they have no file of their own to hold: medals.txt.
TrackFileText BuiltInMedalsFile();

}  // namespace content
