// The `.track` text file a player writes to add a track: read and checked without touching any
// file or GL, so tests and the fuzzer call it directly.
//
//   quillon-track 1
//   # a comment
//   name Harbour
//   steps 40
//   halfWidth 0.7
//   laps 2
//   road Road.bmp
//   border border.bmp
//   sky Sky.bmp
//   banner bannerStart.ms3d
//   medals 60 55 50
//   author 48.5
//   point 0 0 0
//   ...
//
// `medals` (target times in seconds: bronze, silver, gold, each faster than the one before) and
// `author` (the maker's own time) may be left out; every other key but `point` is given once;
// `point X Y Z` lines are the control points, four to a group, each group's last point repeated as
// the next group's first. The line starts at 0 0 0 going along +x and ends on the -x axis, so the
// start grid lies on a straight.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "track/vector3d.h"

// Ranges a track file must keep to.
constexpr size_t TrackFileMaxBytes = 64 * 1024;
constexpr size_t TrackMinControlPoints = 4, TrackMaxControlPoints = 400;
constexpr int32_t TrackMinSteps = 4, TrackMaxSteps = 200;
constexpr double TrackMinHalfWidth = 0.2, TrackMaxHalfWidth = 5.0;
constexpr int TrackMinLaps = 1, TrackMaxLaps = 20;
// Characters of a name, and its width in em of the outline font: the track selection shows a
// file's track name that wide whole, facing the player (see menu/track_selection.cpp).
constexpr size_t TrackMaxNameLength = 20;
constexpr double TrackMaxNameWidth = 6.4;
// The start grid is 2.3 behind the line: the last point is at least this far back on -x.
constexpr double TrackStartStraight = 2.5;
// Two parts of the road closer than their width must be at least this much more apart in
// height than the road is wide, so the car can tell the levels of a bridge apart.
constexpr double TrackBridgeClearance = 1.0;
// Target times (the medals and the author's time), in seconds.
constexpr double TrackMinTargetSeconds = 1.0, TrackMaxTargetSeconds = 3600.0;
// A piece of the line whose control points all lie this close to its first has zero length.
constexpr double TrackMinPieceReach = 1e-3;

struct TrackFileLine {
  int line = 0;  // 1 for the first line; 0 for the file as a whole
  std::string text;
  // Where on the track a fault of the line's shape is (an editor marks it there).
  std::optional<Vector3d> where = {};
};

// A track's target times in seconds: the medals, slowest first (bronze, silver, gold), and the
// maker's own time; either may be missing.
struct TrackTargets {
  std::optional<std::array<double, 3>> medals;
  std::optional<double> author;
  bool operator==(const TrackTargets&) const = default;
};

struct TrackFileContent {
  std::string name;
  int32_t steps = 0;
  float halfWidth = 0.0f;
  int16_t laps = 0;
  std::string road, border, sky, banner;
  std::vector<Vector3d> controlPoints;
  TrackTargets targets;
  // The closed centre line sampled at `steps`, as the game races it (filled when the shape is
  // checked).
  std::vector<Vector3d> centreLine;
};

struct TrackFileReading {
  TrackFileContent content;
  // Every reason the file is refused; empty when it is good.
  std::vector<TrackFileLine> refusals;
  // Lines that were read past (an unknown key, reported once per key).
  std::vector<TrackFileLine> notes;
  bool good() const { return refusals.empty(); }
};

// Reads and checks a whole file: format line, keys, ranges, the shape of the centre line
// (groups joined, no piece of zero length, no crossing at one height). A fault that leaves the
// shape unknown (a point refused) skips the checks of the shape, so it brings no others.
TrackFileReading ParseTrackFile(std::string_view text);

// Reads the value of a `medals` (three times) or `author` (one time) key into `into`: finite
// seconds, 1 to 3600, the medals each faster than the one before. The reason when it is refused.
std::optional<std::string> ReadTargetTimes(std::string_view key, std::string_view value,
                                           TrackTargets& into);

// True for a picture or model name that stays in its folder: a plain file name, no path.
bool IsPlainFileName(std::string_view name);

// The road crossing itself: the first place where two parts of the sampled line `points` of a
// road `halfWidth` wide overlap at one height; -1 when none. `index` is the later part's point.
long FindRoadCrossing(const std::vector<Vector3d>& points, double halfWidth);
