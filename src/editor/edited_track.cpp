// The editor's track: properties, waypoints, and the file content made from them.
#include "editor/edited_track.h"

#include <algorithm>
#include <cmath>

#include "track/track_file_text.h"
#include "track/waypoint_curve.h"

namespace {

bool Same(const Vector3d& a, const Vector3d& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

double Distance(const Vector3d& a, const Vector3d& b) {
  return std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
}

}  // namespace

bool EditedTrack::operator==(const EditedTrack& o) const {
  return name == o.name && laps == o.laps && halfWidth == o.halfWidth && road == o.road &&
         border == o.border && sky == o.sky && banner == o.banner &&
         std::equal(waypoints.begin(), waypoints.end(), o.waypoints.begin(), o.waypoints.end(),
                    Same);
}

bool EditedTrack::movable(int index) const {
  return index > 0 && index + 1 < static_cast<int>(waypoints.size());
}

EditedTrack NewOvalTrack(const std::string& name) {
  EditedTrack track;
  track.name = name;
  track.waypoints = {{0, 0, 0},     {10, 0, 0},   {18, 0, -8}, {10, 0, -16},
                     {-10, 0, -16}, {-18, 0, -8}, {-8, 0, 0}};
  return track;
}

EditedTrack EditedFromContent(const TrackFileContent& content) {
  EditedTrack track;
  track.name = content.name;
  track.laps = content.laps;
  track.halfWidth = content.halfWidth;
  track.road = content.road;
  track.border = content.border;
  track.sky = content.sky;
  track.banner = content.banner;
  track.waypoints = ControlPointWaypoints(content.controlPoints);
  if (track.waypoints.size() > EditorMaxWaypoints) track.waypoints.resize(EditorMaxWaypoints);
  if (track.waypoints.empty()) track.waypoints.push_back(Vector3d(0, 0, 0));
  track.waypoints.front() = Vector3d(0, 0, 0);
  // A built-in track may end beside the axis: its end goes onto it.
  const Vector3d end = track.waypoints.back();
  const Vector3d grid(std::min(end.x, -TrackStartStraight), 0, 0);
  if (track.waypoints.size() < 2)
    track.waypoints.push_back(grid);
  else
    track.waypoints.back() = grid;
  return track;
}

TrackFileContent ContentOf(const EditedTrack& track) {
  TrackFileContent content;
  content.name = track.name;
  content.laps = static_cast<int16_t>(track.laps);
  content.halfWidth = track.halfWidth;
  content.road = track.road;
  content.border = track.border;
  content.sky = track.sky;
  content.banner = track.banner;
  content.controlPoints = WaypointControlPoints(track.waypoints);
  // The control polygon is never shorter than its piece.
  double longest = 0;
  const auto& p = content.controlPoints;
  for (size_t g = 0; g + 3 < p.size(); g += 4)
    longest = std::max(longest, Distance(p[g], p[g + 1]) + Distance(p[g + 1], p[g + 2]) +
                                    Distance(p[g + 2], p[g + 3]));
  const double spacing = EditorSampleSpacing * std::max(0.01, static_cast<double>(track.halfWidth));
  content.steps = static_cast<int32_t>(
      std::clamp(std::ceil(longest / spacing), 8.0, static_cast<double>(TrackMaxSteps)));
  return content;
}

std::string EditorFileText(const EditedTrack& track, const TrackTargets& targets) {
  TrackFileContent content = ContentOf(track);
  content.targets = targets;
  return TrackFileText(content, {"Made with Quillon's track editor."});
}

void EditorTargets::drove(uint64_t hash, double seconds) {
  if (hash != drivenHash) driven.reset();
  drivenHash = hash;
  // Kept within what a file may hold.
  if (seconds > TrackMaxTargetSeconds) return;
  seconds = std::max(seconds, TrackMinTargetSeconds);
  if (!driven || seconds < *driven) driven = seconds;
}

TrackTargets EditorTargets::forRace(uint64_t hash) const {
  TrackTargets targets;
  if (hash == openedHash) targets = opened;
  if (driven && hash == drivenHash && (!targets.author || *driven < *targets.author))
    targets.author = driven;
  return targets;
}
