// The editor's changes, undo and redo, and the check after each.
#include "editor/track_editing.h"

#include <algorithm>
#include <cmath>

TrackEditing::TrackEditing(EditedTrack track, std::vector<std::string> otherNames)
    : track_(std::move(track)), saved_(track_), otherNames_(std::move(otherNames)) {
  recheck();
  select(1);
}

void TrackEditing::recheck() {
  check_ = CheckEditedTrack(track_, otherNames_);
}

void TrackEditing::select(int index) {
  const int count = static_cast<int>(track_.waypoints.size());
  selected_ = std::clamp(index, 0, std::max(0, count - 1));
}

void TrackEditing::selectNext(int step) {
  const int count = static_cast<int>(track_.waypoints.size());
  if (count > 0) selected_ = ((selected_ + step) % count + count) % count;
}

bool TrackEditing::commit(EditedTrack next) {
  if (next == track_) return false;
  if (!dragging_ || !dragMoved_) {
    undo_.push_back(track_);
    if (undo_.size() > EditorUndoSteps) undo_.pop_front();
    redo_.clear();
  }
  if (dragging_) dragMoved_ = true;
  track_ = std::move(next);
  recheck();
  return true;
}

bool TrackEditing::moveTo(int index, double x, double z) {
  if (!track_.movable(index)) return false;
  EditedTrack next = track_;
  Vector3d& w = next.waypoints[static_cast<size_t>(index)];
  w.x = std::clamp(x, -EditorReach, EditorReach);
  w.z = std::clamp(z, -EditorReach, EditorReach);
  return commit(std::move(next));
}

bool TrackEditing::raise(int index, double dy) {
  if (!track_.movable(index)) return false;
  EditedTrack next = track_;
  Vector3d& w = next.waypoints[static_cast<size_t>(index)];
  w.y = std::clamp(w.y + dy, -EditorReach, EditorReach);
  return commit(std::move(next));
}

bool TrackEditing::insertAt(double x, double z) {
  const auto& line = check_.line;
  const auto steps = static_cast<size_t>(std::max(1, check_.content.steps));
  size_t nearest = line.size();
  double best = track_.halfWidth * 1.5;
  for (size_t i = 0; i < line.size(); ++i) {
    const double d = std::hypot(line[i].x - x, line[i].z - z);
    if (d < best) best = d, nearest = i;
  }
  const size_t piece = nearest / steps;
  // The last piece is the start straight; a sample on a waypoint adds nothing.
  if (nearest >= line.size() || piece + 1 >= track_.waypoints.size() || nearest % steps == 0)
    return false;
  if (track_.waypoints.size() >= EditorMaxWaypoints) return false;
  EditedTrack next = track_;
  next.waypoints.insert(next.waypoints.begin() + static_cast<long>(piece) + 1, line[nearest]);
  if (!commit(std::move(next))) return false;
  select(static_cast<int>(piece) + 1);
  return true;
}

bool TrackEditing::insertAfter(int index) {
  const auto steps = static_cast<size_t>(std::max(1, check_.content.steps));
  if (index < 0 || index + 1 >= static_cast<int>(track_.waypoints.size())) return false;
  const Vector3d& middle = check_.line[static_cast<size_t>(index) * steps + steps / 2];
  if (track_.waypoints.size() >= EditorMaxWaypoints) return false;
  EditedTrack next = track_;
  next.waypoints.insert(next.waypoints.begin() + index + 1, middle);
  if (!commit(std::move(next))) return false;
  select(index + 1);
  return true;
}

bool TrackEditing::remove(int index) {
  // Two waypoints between the ends are the fewest that still make a loop.
  if (!track_.movable(index) || track_.waypoints.size() <= 4) return false;
  EditedTrack next = track_;
  next.waypoints.erase(next.waypoints.begin() + index);
  if (!commit(std::move(next))) return false;
  select(index - 1 > 0 ? index - 1 : 1);
  return true;
}

bool TrackEditing::setName(const std::string& name) {
  EditedTrack next = track_;
  next.name = name;
  return commit(std::move(next));
}

bool TrackEditing::setLaps(int laps) {
  EditedTrack next = track_;
  next.laps = std::clamp(laps, TrackMinLaps, TrackMaxLaps);
  return commit(std::move(next));
}

bool TrackEditing::setHalfWidth(float halfWidth) {
  EditedTrack next = track_;
  next.halfWidth = std::clamp(halfWidth, static_cast<float>(TrackMinHalfWidth),
                              static_cast<float>(TrackMaxHalfWidth));
  return commit(std::move(next));
}

bool TrackEditing::setPicture(int which, const std::string& file) {
  EditedTrack next = track_;
  (which == 0 ? next.road : which == 1 ? next.border : next.sky) = file;
  return commit(std::move(next));
}

void TrackEditing::beginDrag() {
  dragging_ = true;
  dragMoved_ = false;
}

void TrackEditing::endDrag() {
  dragging_ = false;
  dragMoved_ = false;
}

bool TrackEditing::undo() {
  return step(undo_, redo_);
}

bool TrackEditing::redo() {
  return step(redo_, undo_);
}

bool TrackEditing::step(std::deque<EditedTrack>& from, std::deque<EditedTrack>& to) {
  if (from.empty()) return false;
  to.push_back(std::move(track_));
  track_ = std::move(from.back());
  from.pop_back();
  recheck();
  select(selected_);
  return true;
}
