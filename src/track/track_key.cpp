// Track keys of ghost files: the built-in tracks by their names, tracks read from files by their
// name and the hash of their content.
#include "track/track_key.h"

#include "track/track_definitions.h"
#include "track/track_identity.h"
#include "track/track_sources.h"

std::string TrackKey(std::string_view trackName) {
  return std::string(trackName);
}

std::vector<std::string> KnownTrackKeys() {
  std::vector<std::string> keys, names;
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    names.push_back(BuiltInTrackName(index));
    keys.push_back(TrackKey(names.back()));
  }
  // The track files the game would offer now; their refusals are the track list's to say.
  std::vector<std::string> messages;
  for (const TrackFileEntry& entry : FindTrackFiles(TrackFolders(), names, messages))
    keys.push_back(TrackRecordsName(entry.content));
  return keys;
}
