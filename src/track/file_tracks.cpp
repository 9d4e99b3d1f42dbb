// Putting the file tracks into the track table with their pictures and banners.
#include "track/file_tracks.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "assets/data_root.h"
#include "assets/terminal_text.h"
#include "assets/texture.h"
#include "platform/regular_file.h"
#include "platform/worker_gate.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

bool IsFile(const std::string& path) {
  return platform::RegularFile(path.c_str()).opened();
}

}  // namespace

namespace {

std::vector<TrackFileEntry> ReadTrackFolders() {
  std::vector<std::string> messages;
  std::vector<std::string> builtIn;
  for (int i = 0; i < BuiltInTrackCount; ++i) builtIn.push_back(BuiltInTrackName(i));
  std::vector<TrackFileEntry> found = FindTrackFiles(TrackFolders(), builtIn, messages);
  for (const std::string& line : messages) std::fprintf(stderr, "quillon: %s\n", line.c_str());
  const size_t room = TrackTableSize - BuiltInTrackCount;
  if (found.size() > room) {
    for (size_t i = room; i < found.size(); ++i)
      std::fprintf(stderr, "quillon: %s: refused: no room for more than %zu track files\n",
                   TerminalText(found[i].path).c_str(), room);
    found.resize(room);
  }
  return found;
}

// The folders are read on a worker of the gate, so that a message box never forks while it is
// in the middle of reading; the whole reading is one job (a few milliseconds).
std::unique_ptr<platform::GatedWorker> gReading;
std::shared_ptr<std::vector<TrackFileEntry>> gReadingResult;
std::vector<TrackFileEntry> gEntries;
bool gRead = false;
// Where each entry's road, border, banner and sky are read from, found once per reading.
std::vector<std::string> gAssetPaths;

}  // namespace

void StartReadingTrackFiles() {
  if (gReading) return;
  auto result = std::make_shared<std::vector<TrackFileEntry>>();
  gReadingResult = result;
  gReading = std::make_unique<platform::GatedWorker>([result] { *result = ReadTrackFolders(); });
}

const std::vector<TrackFileEntry>& KnownTrackFiles() {
  if (!gRead) StartReadingTrackFiles();
  if (gReading) {
    gReading->end();
    gReading.reset();
    gEntries = std::move(*gReadingResult);
    gReadingResult.reset();
    gAssetPaths.clear();
    gRead = true;
  }
  return gEntries;
}

std::string TrackAssetPath(const TrackFileEntry& entry, const std::string& file,
                           const char* fallback) {
  const std::string beside = entry.folder + "/" + file;
  // Absolute, so that it is not taken as a name under the data folder.
  std::error_code ec;
  if (IsFile(beside)) {
    const std::filesystem::path absolute = std::filesystem::absolute(beside, ec);
    if (!ec) return absolute.string();
  }
  const std::string data = "Data/" + file;
  if (IsFile(AssetPath(data.c_str()))) return data;
  std::fprintf(stderr, "quillon: %s: '%s' not found beside it or in Data/, using %s\n",
               TerminalText(entry.path).c_str(), TerminalText(file).c_str(), fallback);
  return fallback;
}

void SetTrackShape(Track& track, const TrackFileContent& content) {
  TrackCurve curve(content.steps);
  curve.controlPoints = content.controlPoints;
  curve.generate();
  track.curve.steps = curve.steps;
  track.curve.controlPoints = std::move(curve.controlPoints);
  track.curve.points = std::move(curve.points);
  track.halfWidth = content.halfWidth;
  track.laps = content.laps;
  track.name = content.name;
  track.fromFile = true;
}

void DefineFileTracks() {
  const std::vector<TrackFileEntry>& entries = KnownTrackFiles();
  int index = BuiltInTrackCount;
  for (const TrackFileEntry& entry : entries) {
    Track& track = TrackTable[index++];
    SetTrackShape(track, entry.content);
    track.origin = entry.path;
    // The messages of a missing picture are given once per reading, not again after a toggle.
    std::vector<std::string>& paths = gAssetPaths;
    const size_t slot = static_cast<size_t>(index - BuiltInTrackCount - 1) * 4;
    if (paths.size() <= slot) {
      paths.push_back(TrackAssetPath(entry, entry.content.road, "Data/Road.bmp"));
      paths.push_back(TrackAssetPath(entry, entry.content.border, "Data/border.bmp"));
      paths.push_back(TrackAssetPath(entry, entry.content.banner, "Data/bannerStart.ms3d"));
      paths.push_back(TrackAssetPath(entry, entry.content.sky, "Data/Sky.bmp"));
    }
    track.roadTexture = LoadTexture(paths[slot].c_str());
    track.borderTexture = LoadTexture(paths[slot + 1].c_str());
    track.banner.load(paths[slot + 2].c_str());
    ReleaseSky(track);
    track.skyFile = paths[slot + 3];
    track.skyUsable = CheckTexture(track.skyFile.c_str());
  }
  TrackCount = index;
}
