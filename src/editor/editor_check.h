// The editor's check of its track: the game's own check of the file it would save, and the
// places of the faults found, for the view to mark. GL-free.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editor/edited_track.h"

struct EditorFault {
  std::string reason;  // what is wrong and what to move, in words
  std::optional<Vector3d> where;
};

struct EditorCheck {
  TrackFileContent content;    // as the file would hold it
  std::vector<Vector3d> line;  // the sampled centre line
  double length = 0;           // of the centre line, in units
  std::vector<EditorFault> faults;
  bool good() const { return faults.empty(); }
};

// Writes the file the editor would save, reads it back with ParseTrackFile (the check every track
// file passes) and gives each refusal its place and a hint; adds the faults only the editor
// knows: a name another track has (`otherNames`), and a piece too long for the most steps.
EditorCheck CheckEditedTrack(const EditedTrack& track, const std::vector<std::string>& otherNames);
