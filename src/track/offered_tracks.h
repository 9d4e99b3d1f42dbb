// The tracks the game offers on the track selection, in order: the built-in ones, then the good
// track files of the track folders, as many as the track table holds. The track list, the names
// of tracks on the command line and the keys of ghosts all come from here. GL-free.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "track/track_sources.h"

struct OfferedTrack {
  std::string name;    // as the track selection shows it
  std::string key;     // the records name: best times and ghosts are kept under it
  std::string origin;  // "built-in", or the file it was read from
  TrackTargets targets;
};

// The names of the built-in tracks, in order.
std::vector<std::string> BuiltInTrackNames();

// The track files offered after the built-in tracks, read from TrackFolders(). Refusals, notes
// and the files left out for want of room go to `messages`; `betweenFiles` runs before each file.
std::vector<TrackFileEntry> OfferedTrackFiles(std::vector<std::string>& messages,
                                              const std::function<void()>& betweenFiles = {});

// Every track offered, in order; the track files' messages go to `messages`.
std::vector<OfferedTrack> OfferedTracks(std::vector<std::string>& messages);
// Every track offered, its messages left unsaid (they are the track list's to say).
std::vector<OfferedTrack> OfferedTracks();

// The track of `tracks` named exactly `name` (case and all, as the track list shows it); null
// when there is none.
const OfferedTrack* FindOfferedTrack(const std::vector<OfferedTrack>& tracks,
                                     std::string_view name);
