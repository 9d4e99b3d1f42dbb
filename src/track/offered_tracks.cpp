// The tracks offered, in order, with their records keys.
#include "track/offered_tracks.h"

#include "track/built_in_targets.h"
#include "track/track.h"
#include "track/track_definitions.h"
#include "track/track_identity.h"

std::vector<std::string> BuiltInTrackNames() {
  std::vector<std::string> names;
  for (int index = 0; index < BuiltInTrackCount; ++index) names.push_back(BuiltInTrackName(index));
  return names;
}

std::vector<TrackFileEntry> OfferedTrackFiles(std::vector<std::string>& messages,
                                              const std::function<void()>& betweenFiles) {
  return FindTrackFiles(TrackFolders(), BuiltInTrackNames(), messages,
                        TrackTableSize - BuiltInTrackCount, betweenFiles);
}

std::vector<OfferedTrack> OfferedTracks(std::vector<std::string>& messages) {
  std::vector<OfferedTrack> tracks;
  // A built-in track is kept under its plain name.
  for (int i = 0; i < BuiltInTrackCount; ++i)
    tracks.push_back(
        {BuiltInTrackName(i), BuiltInTrackName(i), "built-in", BuiltInTrackTargets(i)});
  for (TrackFileEntry& entry : OfferedTrackFiles(messages))
    tracks.push_back({entry.content.name, TrackRecordsName(entry.content), std::move(entry.path),
                      entry.content.targets});
  return tracks;
}

std::vector<OfferedTrack> OfferedTracks() {
  std::vector<std::string> messages;
  return OfferedTracks(messages);
}

const OfferedTrack* FindOfferedTrack(const std::vector<OfferedTrack>& tracks,
                                     std::string_view name) {
  for (const OfferedTrack& track : tracks) {
    if (track.name == name) return &track;
  }
  return nullptr;
}
