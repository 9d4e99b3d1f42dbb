// Checking the editor's track with the track file check, faults placed on the map.
#include "editor/editor_check.h"

#include <algorithm>
#include <cmath>

#include "track/road_bends.h"
#include "track/track_curve.h"

namespace {

// What the player can do about a refusal, for the faults the line's shape can have.
std::string Hint(const std::string& reason) {
  if (reason.find("crosses itself") != std::string::npos)
    return ": raise one road (PgUp) or move a waypoint there";
  if (reason.find("tighter") != std::string::npos)
    return ": move the waypoints there apart or make the road narrower";
  if (reason.find("zero length") != std::string::npos) return ": move the waypoints there apart";
  if (reason.find("name") != std::string::npos) return ": change the name";
  return "";
}

}  // namespace

EditorCheck CheckEditedTrack(const EditedTrack& track, const std::vector<std::string>& otherNames) {
  EditorCheck check;
  const TrackFileReading reading = ParseTrackFile(EditorFileText(track));
  check.content = ContentOf(track);
  for (const TrackFileLine& refusal : reading.refusals)
    check.faults.push_back({refusal.text + Hint(refusal.text), refusal.where});
  if (std::find(otherNames.begin(), otherNames.end(), track.name) != otherNames.end())
    check.faults.push_back({"another track is named '" + track.name + "': change the name", {}});

  TrackCurve curve(check.content.steps);
  curve.controlPoints = check.content.controlPoints;
  curve.generate();
  check.line = std::move(curve.points);
  // Samples further apart than the road is wide: the car could leave the road between them
  // unseen. Said once for each piece, at its first such sample.
  const double apart = 2.0 * track.halfWidth;
  const auto steps = static_cast<size_t>(std::max(1, check.content.steps));
  size_t said = check.line.size();
  for (size_t i = 0; i + 1 < check.line.size(); ++i) {
    const Vector3d &a = check.line[i], &b = check.line[i + 1];
    const double step = std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
    check.length += step;
    if (step > apart && i / steps != said) {
      said = i / steps;
      check.faults.push_back({"a piece is too long for the road's width: add a waypoint in it", a});
    }
  }
  // A bend tighter than the half-width folds the road's inner edge: the editor keeps its tracks
  // clear of it (files are only held to the check above).
  if (reading.good()) {
    const long bend = FindTightBend(check.line, track.halfWidth);
    if (bend >= 0)
      check.faults.push_back(
          {"a bend is tighter than the road is wide (its radius is under the half-width)" +
               Hint("tighter"),
           check.line[static_cast<size_t>(bend)]});
  }
  return check;
}
