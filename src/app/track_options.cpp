// --check-track and --list-tracks.
#include "app/track_options.h"

#include <filesystem>
#include <system_error>

#include "assets/terminal_text.h"
#include "track/offered_tracks.h"
#include "track/track.h"
#include "track/track_curve.h"
#include "track/track_definitions.h"
#include "track/track_sources.h"

namespace {

bool Written(std::FILE* out, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

// Why the game would not offer a good file: its name taken by a track offered before it (all of
// them for a file outside the track folders, which would come after them), or no room left for
// it in a track folder. Empty when it would be offered.
std::string NotOffered(const std::string& file, const std::string& name,
                       const std::vector<OfferedTrack>& offered) {
  size_t before = offered.size();
  for (size_t i = 0; i < offered.size(); ++i) {
    if (offered[i].origin != "built-in" && SameFile(file, offered[i].origin)) before = i;
  }
  for (size_t i = 0; i < before; ++i) {
    if (offered[i].name == name)
      return "the name '" + TerminalText(name) + "' is taken by a track offered before it (" +
             TerminalText(offered[i].origin) + ")";
  }
  if (before < offered.size()) return {};
  std::error_code error;
  const auto folder = std::filesystem::path(file).parent_path();
  for (const std::string& searched : TrackFolders()) {
    if (std::filesystem::equivalent(folder.empty() ? "." : folder, searched, error))
      return "left out: the track selection holds at most " +
             std::to_string(TrackTableSize - BuiltInTrackCount) + " tracks from files";
  }
  return {};
}

}  // namespace

int CheckTrackFiles(const std::vector<std::string>& files, std::FILE* out, std::FILE* err) {
  bool allGood = !files.empty();
  bool written = true;
  if (files.empty()) std::fputs("quillon: --check-track needs at least one file\n", err);
  std::vector<OfferedTrack> offered;
  bool offeredRead = false;
  for (const std::string& file : files) {
    TrackFileReading reading = ReadTrackFile(file);
    if (reading.good()) {
      if (!offeredRead) offered = OfferedTracks();
      offeredRead = true;
      const std::string why = NotOffered(file, reading.content.name, offered);
      if (!why.empty()) reading.refusals.push_back({0, why});
    }
    for (const TrackFileLine& note : reading.notes)
      std::fprintf(err, "%s:%d: %s\n", TerminalText(file).c_str(), note.line, note.text.c_str());
    if (!reading.good()) {
      allGood = false;
      for (const TrackFileLine& line : reading.refusals) {
        written &= Written(out, TerminalText(file) +
                                    (line.line > 0 ? ":" + std::to_string(line.line) : "") + ": " +
                                    line.text + "\n");
      }
      continue;
    }
    const TrackFileContent& c = reading.content;
    char text[96];
    std::snprintf(text, sizeof text, ", %.1f units, %zu segments, %d laps\n",
                  LineLength(c.centreLine), c.controlPoints.size() / 4 + 1, c.laps);
    written &= Written(out, TerminalText(file) + ": " + TerminalText(c.name) + text);
  }
  written &= std::fflush(out) == 0;
  return allGood && written ? 0 : 1;
}

int ListTracks(std::FILE* out, std::FILE* err) {
  std::vector<std::string> messages;
  std::string text;
  for (const OfferedTrack& track : OfferedTracks(messages))
    text += TerminalText(track.name) + "\t" + TerminalText(track.origin) + "\n";
  for (const std::string& line : messages) std::fprintf(err, "quillon: %s\n", line.c_str());
  return Written(out, text) && std::fflush(out) == 0 ? 0 : 1;
}
