// --check-track and --list-tracks.
#include "app/track_options.h"

#include <cmath>

#include "assets/terminal_text.h"

#include "track/track_curve.h"
#include "track/track_definitions.h"
#include "track/track_sources.h"

namespace {

bool Written(std::FILE* out, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

}  // namespace

int CheckTrackFiles(const std::vector<std::string>& files, std::FILE* out, std::FILE* err) {
  bool allGood = !files.empty();
  bool written = true;
  if (files.empty()) std::fputs("quillon: --check-track needs at least one file\n", err);
  for (const std::string& file : files) {
    const TrackFileReading reading = ReadTrackFile(file);
    if (!reading.good()) {
      allGood = false;
      for (const TrackFileLine& line : reading.refusals) {
        written &= Written(out, TerminalText(file) +
                                    (line.line > 0 ? ":" + std::to_string(line.line) : "") + ": " +
                                    line.text + "\n");
      }
      continue;
    }
    for (const TrackFileLine& note : reading.notes)
      std::fprintf(err, "%s:%d: %s\n", TerminalText(file).c_str(), note.line, note.text.c_str());
    const TrackFileContent& c = reading.content;
    TrackCurve curve(c.steps);
    curve.controlPoints = c.controlPoints;
    curve.generate();
    double length = 0.0;
    for (size_t i = 0; i + 1 < curve.points.size(); ++i) {
      const Vector3d &a = curve.points[i], &b = curve.points[i + 1];
      length += std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                          (b.z - a.z) * (b.z - a.z));
    }
    char text[96];
    std::snprintf(text, sizeof text, ", %.1f units, %zu segments, %d laps\n", length,
                  c.controlPoints.size() / 4 + 1, c.laps);
    written &= Written(out, TerminalText(file) + ": " + TerminalText(c.name) + text);
  }
  written &= std::fflush(out) == 0;
  return allGood && written ? 0 : 1;
}

int ListTracks(std::FILE* out, std::FILE* err) {
  std::string text;
  std::vector<std::string> names;
  for (int i = 0; i < BuiltInTrackCount; ++i) {
    names.push_back(BuiltInTrackName(i));
    text += names.back() + "\tbuilt-in\n";
  }
  std::vector<std::string> messages;
  for (const TrackFileEntry& entry : FindTrackFiles(TrackFolders(), names, messages))
    text += TerminalText(entry.content.name) + "\t" + TerminalText(entry.path) + "\n";
  for (const std::string& line : messages) std::fprintf(err, "quillon: %s\n", line.c_str());
  return Written(out, text) && std::fflush(out) == 0 ? 0 : 1;
}
