// Reading the built-in tracks' target times from the data folder.
#include "track/built_in_targets.h"

#include <vector>

#include "assets/data_root.h"
#include "assets/text_trim.h"
#include "track/track.h"
#include "track/track_definitions.h"

TrackTargets BuiltInTrackTargets(std::string_view text, std::string_view name) {
  TrackTargets targets;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    const size_t space = line.find_first_of(" \t");
    if (line.starts_with('#') || space == std::string_view::npos || line.substr(0, space) != name)
      continue;
    if (!ReadTargetTimes("medals", line.substr(space), targets)) return targets;
  }
  return {};
}

TrackTargets BuiltInTrackTargets(int index) {
  std::vector<unsigned char> bytes;
  if (ReadAssetFile(BuiltInTargetsFile, 4096, bytes) != AssetRead::Read) return {};
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return BuiltInTrackTargets(text, BuiltInTrackName(index));
}

void ReadBuiltInTrackTargets() {
  for (int i = 0; i < BuiltInTrackCount; ++i) TrackTable[i].targets = BuiltInTrackTargets(i);
}
