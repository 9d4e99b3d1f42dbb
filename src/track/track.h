// Track: one race track (centre line, road width, textures, start banner, name, laps, road
// display list), and TrackTable, the program-wide table of tracks: the built-in three, then the
// tracks read from files.
#pragma once

#include <cstdint>
#include <string>

#include "assets/model.h"
#include "track/track_curve.h"
#include "track/track_file.h"

class Track {
 public:
  // Name "Happy", curve steps 23 with empty arrays, halfWidth 0.7, laps 2, every GL name 0,
  // no sky file.
  Track();
  // Releases the sky file name, the banner model, then the name, then curve.points and
  // curve.controlPoints. The road list and the sky texture are not deleted: at program exit
  // their context is already gone.
  ~Track();
  Track(const Track&) = delete;
  Track& operator=(const Track&) = delete;

  // Compiles the road and its two border walls into a new `roadList`, replacing the previous
  // one; a file's track loads its pictures and banner first. Needs a current GL context. With
  // fewer than 2 centre points the list is empty.
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
  // The sky picture: made into a texture only for the track being raced (see UseSkyOf), and
  // only if the picture passed its check when the track was defined.
  uint32_t skyTexture;
  std::string skyFile;
  bool skyUsable;
  // GL context generation in which `skyTexture` was made (as for the road list below).
  uint32_t skyTextureGeneration;
  int16_t laps;
  // GL context generation in which `roadList` was made: a list from an earlier context is
  // forgotten rather than deleted, since its number may now name another object.
  uint32_t roadListGeneration;
  // Read from a track file (at `origin`): the car follows the road's height, laps need most of
  // the line in order, and records are kept under the name and the content's hash.
  bool fromFile = false;
  std::string origin;
  // A file's track: its road and border pictures and banner model, loaded only when it is
  // raced (LoadFileTrackPictures), so that many track files cost no texture memory; the GL
  // context generation they were loaded in (0: not loaded).
  std::string roadFile, borderFile, bannerFile;
  uint32_t picturesGeneration = 0;
  // The target times of the medals and the maker's own time, where the track has them.
  TrackTargets targets;
  // A track being tried from the editor before it is saved: its races keep no best time and no
  // ghost.
  bool trial = false;
};

// Room for the three built-in tracks and up to 253 read from files.
constexpr int TrackTableSize = 256;

// Entries 0 to 2 are the built-in tracks (DefineTracks), then the file tracks (DefineFileTracks);
// the rest keep their constructed values. The entries never move, so plain pointers to them
// stay valid for the whole run.
extern Track TrackTable[TrackTableSize];
// How many entries are filled: 3 until file tracks are defined.
extern int TrackCount;

// Gives `raced` its sky texture, loading it unless it is already there in this context or its
// picture failed its check, and deletes the sky texture of every other track in TrackTable, so
// that only the raced sky takes texture memory. Needs a current GL context.
void UseSkyOf(Track& raced);
// Deletes the track's sky texture if it was made in the current context, else only forgets it.
void ReleaseSky(Track& track);
