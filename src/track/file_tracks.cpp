// Putting the file tracks into the track table; their pictures and banners are loaded when
// they are raced.
#include "track/file_tracks.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "assets/data_root.h"
#include "assets/terminal_text.h"
#include "assets/texture.h"
#include "platform/gl_context_generation.h"
#include "platform/regular_file.h"
#include "platform/timeline.h"
#include "platform/worker_gate.h"
#include "track/offered_tracks.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

bool IsFile(const std::string& path) {
  return platform::RegularFile(path.c_str()).opened();
}

// One reading of the track folders: the files offered and where each one's road, border,
// banner and sky are read from (found once per reading, so a missing picture is said once).
struct Reading {
  std::vector<TrackFileEntry> entries;
  std::vector<std::array<std::string, 4>> pictures;
};

// Run on a worker of the gate, which rests between files: a message box never forks while it
// is in the middle of one.
Reading ReadTrackFolders() {
  platform::TimelineMark("track files: reading");
  Reading reading;
  std::vector<std::string> messages;
  reading.entries = OfferedTrackFiles(messages, platform::BetweenJobs);
  for (const std::string& line : messages) std::fprintf(stderr, "quillon: %s\n", line.c_str());
  for (const TrackFileEntry& entry : reading.entries) {
    platform::BetweenJobs();
    const TrackFileContent& c = entry.content;
    reading.pictures.push_back({TrackAssetPath(entry, c.road, "Data/Road.bmp"),
                                TrackAssetPath(entry, c.border, "Data/border.bmp"),
                                TrackAssetPath(entry, c.banner, "Data/bannerStart.ms3d"),
                                TrackAssetPath(entry, c.sky, "Data/Sky.bmp")});
  }
  platform::TimelineMark("track files: read");
  return reading;
}

std::unique_ptr<platform::GatedWorker> gReadingWorker;
std::shared_ptr<Reading> gReadingResult;
Reading gReading;
bool gRead = false;
// The latest reading is in TrackTable.
bool gDefined = false;

}  // namespace

void StartReadingTrackFiles() {
  if (gReadingWorker) return;
  auto result = std::make_shared<Reading>();
  gReadingResult = result;
  gReadingWorker =
      std::make_unique<platform::GatedWorker>([result] { *result = ReadTrackFolders(); });
}

namespace {

void FinishReading() {
  if (!gRead) StartReadingTrackFiles();
  if (gReadingWorker) {
    gReadingWorker->end();
    platform::TimelineMark("track files: worker joined");
    gReadingWorker.reset();
    gReading = std::move(*gReadingResult);
    gReadingResult.reset();
    gRead = true;
    gDefined = false;
  }
}

}  // namespace

const std::vector<TrackFileEntry>& KnownTrackFiles() {
  FinishReading();
  return gReading.entries;
}

void ForgetTrackFiles() {
  KnownTrackFiles();  // a reading under way ends first
  gRead = false;
}

void DropTrackFileReading() {
  if (gReadingWorker) gReadingWorker->end();
  gReadingWorker.reset();
  gReadingResult.reset();
  gReading = {};
  gRead = false;
  gDefined = false;
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
  track.curve.steps = content.steps;
  track.curve.controlPoints = content.controlPoints;
  track.curve.points = content.centreLine;
  if (track.curve.points.empty()) track.curve.generate();
  track.halfWidth = content.halfWidth;
  track.laps = content.laps;
  track.name = content.name;
  track.targets = content.targets;
  track.fromFile = true;
}

void DefineFileTracks() {
  FinishReading();
  if (gDefined) return;
  gDefined = true;
  int index = BuiltInTrackCount;
  for (size_t i = 0; i < gReading.entries.size(); ++i) {
    TrackFileEntry& entry = gReading.entries[i];
    Track& track = TrackTable[index++];
    // After a display-mode toggle the table still holds the line: only GL names are made anew.
    const bool held =
        track.fromFile && track.origin == entry.path && track.curve.steps == entry.content.steps &&
        std::equal(track.curve.controlPoints.begin(), track.curve.controlPoints.end(),
                   entry.content.controlPoints.begin(), entry.content.controlPoints.end(),
                   [](const Vector3d& a, const Vector3d& b) {
                     return a.x == b.x && a.y == b.y && a.z == b.z;
                   }) &&
        !track.curve.points.empty();
    if (!held) {
      SetTrackShape(track, entry.content);
      track.origin = entry.path;
    }
    // The table keeps the only copy of the line.
    std::vector<Vector3d>().swap(entry.content.centreLine);
    const std::array<std::string, 4>& pictures = gReading.pictures[i];
    track.roadFile = pictures[0];
    track.borderFile = pictures[1];
    track.bannerFile = pictures[2];
    // Pictures loaded in this context are deleted; the next race loads them again.
    if (track.picturesGeneration == platform::GlContextGeneration()) {
      const GLuint names[2] = {track.roadTexture, track.borderTexture};
      glDeleteTextures(2, names);
    }
    track.roadTexture = track.borderTexture = 0;
    track.banner.clear();
    track.picturesGeneration = 0;
    ReleaseSky(track);
    track.skyFile = pictures[3];
    // Checked when it is first loaded, as the road's pictures are.
    track.skyUsable = true;
  }
  TrackCount = index;
}

void LoadFileTrackPictures(Track& track) {
  const uint32_t generation = platform::GlContextGeneration();
  if (!track.fromFile || track.picturesGeneration == generation) return;
  // A track given only its shape (SetTrackShape) has no pictures to load.
  if (!track.roadFile.empty()) track.roadTexture = LoadTexture(track.roadFile.c_str());
  if (!track.borderFile.empty()) track.borderTexture = LoadTexture(track.borderFile.c_str());
  if (!track.bannerFile.empty()) track.banner.load(track.bannerFile.c_str());
  track.picturesGeneration = generation;
}
