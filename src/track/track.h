// Track: one race track (centre line, road width, textures, start banner, name, laps, road
// display list), and TrackTable, the program-wide table of 16 tracks.
#pragma once

#include <cstdint>
#include <string>

#include "assets/model.h"
#include "track/track_curve.h"

class Track {
 public:
  // Name "Happy", curve steps 23 with empty arrays, halfWidth 0.7, laps 2, every GL name 0.
  Track();
  // Releases the banner model, then the name, then curve.points and curve.controlPoints. The road
  // list is not deleted: at program exit its context is already gone.
  ~Track();
  Track(const Track&) = delete;
  Track& operator=(const Track&) = delete;

  // Compiles the road and its two border walls into a new `roadList`, replacing the previous
  // one. Needs a current GL context. With fewer than 2 centre points the list is empty.
  void buildRoad();
  // Emits the two walls; called by buildRoad while the list is being compiled.
  void buildBorders();

  TrackCurve curve;
  float halfWidth;
  uint32_t roadList;
  uint32_t roadTexture;
  uint32_t borderTexture;
  std::string name;
  Model banner;
  uint32_t skyTexture;
  int16_t laps;
  // GL context generation in which `roadList` was made: a list from an earlier context is
  // forgotten rather than deleted, since its number may now name another object.
  uint32_t roadListGeneration;
};

constexpr int TrackTableSize = 16;

// Entries 0 to 2 are the built-in tracks (DefineTracks); 3 to 15 keep their constructed values.
// The entries never move, so plain pointers to them stay valid for the whole run.
extern Track TrackTable[TrackTableSize];
