// Editing a track: the changes a player makes to its waypoints and properties, each one step of
// undo and redo and each checked at once. GL-free: the editor screen and the tests drive it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "editor/editor_check.h"

// Undo steps kept; older ones are forgotten.
constexpr size_t EditorUndoSteps = 200;
// Waypoints stay this far from the origin, so their handles stay within the file's range.
constexpr double EditorReach = 9000.0;

class TrackEditing {
 public:
  // `otherNames`: the names of every other track offered, which this one must not take.
  TrackEditing(EditedTrack track, std::vector<std::string> otherNames);

  const EditedTrack& track() const { return track_; }
  const EditorCheck& check() const { return check_; }
  int selected() const { return selected_; }
  void select(int index);
  // The next (or previous, `step` -1) waypoint, round the loop.
  void selectNext(int step);

  // Each change is one undo step and is checked at once; false (and no step) when it changes
  // nothing or is not allowed. The first and last waypoints never move.
  bool moveTo(int index, double x, double z);
  bool raise(int index, double dy);
  // Inserts a waypoint where the centre line passes nearest `x`, `z`, when that is on the road
  // (within its half-width and a half more), into the piece there, at the line's height, and
  // selects it. Not on the start straight.
  bool insertAt(double x, double z);
  // Inserts one halfway along the piece after waypoint `index` and selects it.
  bool insertAfter(int index);
  bool remove(int index);
  bool setName(const std::string& name);
  bool setLaps(int laps);
  bool setHalfWidth(float halfWidth);
  // `which`: 0 road, 1 border, 2 sky.
  bool setPicture(int which, const std::string& file);

  // A drag: the moves between begin and end are one undo step.
  void beginDrag();
  void endDrag();

  bool undo();
  bool redo();
  size_t undoSteps() const { return undo_.size(); }

  // Unsaved changes: the track differs from the one last saved (or opened).
  bool changed() const { return !(track_ == saved_); }
  void markSaved() { saved_ = track_; }
  // A track never saved counts as changed from the start.
  void markUnsaved() { saved_ = EditedTrack{}; }

 private:
  bool commit(EditedTrack next);
  void recheck();
  // Undo or redo: the track now goes onto `to`, the last of `from` becomes the track.
  bool step(std::deque<EditedTrack>& from, std::deque<EditedTrack>& to);

  EditedTrack track_, saved_;
  std::vector<std::string> otherNames_;
  EditorCheck check_;
  std::deque<EditedTrack> undo_, redo_;
  int selected_ = 1;
  bool dragging_ = false;
  bool dragMoved_ = false;
};
