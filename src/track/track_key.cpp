// Track keys of ghost files: the built-in tracks by their names.
#include "track/track_key.h"

#include "track/track_definitions.h"

std::string TrackKey(std::string_view trackName) {
  return std::string(trackName);
}

std::vector<std::string> KnownTrackKeys() {
  std::vector<std::string> keys;
  for (int index = 0; index < BuiltInTrackCount; ++index)
    keys.push_back(TrackKey(BuiltInTrackName(index)));
  return keys;
}
