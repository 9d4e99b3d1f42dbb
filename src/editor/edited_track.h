// A track as the editor holds it: its properties and the waypoints its centre line passes
// through, made into the track file's content on demand. GL-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "track/track_file.h"

// Waypoints of the editor's own making, as many as the file's 400 control points allow.
constexpr size_t EditorMaxWaypoints = TrackMaxControlPoints / 4 + 1;
// Samples of a piece are kept at most this share of the half-width apart.
constexpr double EditorSampleSpacing = 0.5;

struct EditedTrack {
  std::string name;
  int laps = 2;
  float halfWidth = 0.7f;
  std::string road = "Road.bmp", border = "border.bmp", sky = "Sky.bmp",
              banner = "bannerStart.ms3d";
  // waypoints[0] is 0 0 0 and the last lies on the -x axis (the start grid): both stay put, the
  // closing piece between them is the start straight.
  std::vector<Vector3d> waypoints;

  bool operator==(const EditedTrack&) const;
  // Whether waypoint `index` may be moved or removed: any but the first and the last.
  bool movable(int index) const;
};

// A simple oval that passes every check, named `name`.
EditedTrack NewOvalTrack(const std::string& name);
// A track's content taken for editing: its properties, and as waypoints the ends of its pieces
// (the last put onto the -x axis, at least the start straight's length back).
EditedTrack EditedFromContent(const TrackFileContent& content);
// The content the editor saves: the pieces through the waypoints, sampled at the steps that keep
// the longest piece's samples EditorSampleSpacing half-widths apart (8 to 200).
TrackFileContent ContentOf(const EditedTrack& track);
// The whole file the editor saves, with its comment line and `targets`.
std::string EditorFileText(const EditedTrack& track, const TrackTargets& targets = {});

// The target times the editor knows of a track, each kept with the hash of the race it was set
// on (TrackHash), so that none is saved with a race it does not belong to.
struct EditorTargets {
  uint64_t openedHash = 0;
  TrackTargets opened;  // those of the file the track was opened from
  uint64_t drivenHash = 0;
  std::optional<double> driven;  // the maker's best finish in the trial race, in seconds
  // A trial race on the race of `hash` finished in `seconds`.
  void drove(uint64_t hash, double seconds);
  // What a save of the race of `hash` writes: the file's own targets while the race is the one
  // they were set on; as the author's time the maker's best finish on it (the better of it and
  // the file's own).
  TrackTargets forRace(uint64_t hash) const;
};
