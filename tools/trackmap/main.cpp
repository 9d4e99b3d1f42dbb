// trackmap: writes a top-down map of each built-in track, or of each `.track` file named, into
// a folder, as PNG through ImageMagick's `convert` when it is there, otherwise (or with --bmp)
// as BMP.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/bmp_writer.h"
#include "track/track.h"
#include "track/track_definitions.h"
#include "track/track_sources.h"
#include "track_map.h"

namespace {

const char* const kFileNames[BuiltInTrackCount] = {"sunny", "bluesky", "yello"};

bool HaveConvert() {
  return std::system("command -v convert >/dev/null 2>&1") == 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = ".";
  bool bmpOnly = false;
  std::vector<std::string> trackFiles;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--bmp") {
      bmpOnly = true;
    } else if (arg[0] == '-') {
      std::fprintf(stderr, "usage: %s [--bmp] [output folder] [FILE.track...]\n", argv[0]);
      return 2;
    } else if (arg.ends_with(".track")) {
      trackFiles.push_back(arg);
    } else {
      folder = arg;
    }
  }
  // The maps to draw: the built-in tracks, or the files named.
  struct Map {
    std::string file;
    TrackCurve curve;
    float halfWidth;
    bool fromFile;
  };
  std::vector<Map> maps;
  const Track defaults;  // road half-width of every built-in track
  if (trackFiles.empty()) {
    for (int index = 0; index < BuiltInTrackCount; ++index)
      maps.push_back({kFileNames[index], BuiltInTrackCurve(index), defaults.halfWidth, false});
  }
  for (const std::string& path : trackFiles) {
    const TrackFileReading reading = ReadTrackFile(path);
    if (!reading.good()) {
      for (const std::string& line : TrackFileMessages(path, reading))
        std::fprintf(stderr, "%s\n", line.c_str());
      return 1;
    }
    TrackCurve curve(reading.content.steps);
    curve.controlPoints = reading.content.controlPoints;
    curve.generate();
    std::string name = std::filesystem::path(path).stem().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    maps.push_back({name, std::move(curve), reading.content.halfWidth, true});
  }
  const bool png = !bmpOnly && HaveConvert();
  for (const Map& map : maps) {
    const formats::Picture picture = DrawTrackMap(map.curve, map.halfWidth, 800, map.fromFile);
    const std::string base = folder + "/" + map.file;
    if (!formats::WriteBmpFile(base + ".bmp", picture)) {
      std::fprintf(stderr, "cannot write %s.bmp\n", base.c_str());
      return 1;
    }
    if (png) {
      // Single quotes keep the shell from reading the paths; a quote in them is escaped.
      auto quoted = [](const std::string& s) {
        std::string q = "'";
        for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
      };
      const std::string command = "convert " + quoted(base + ".bmp") + " " + quoted(base + ".png");
      if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "convert failed for %s.bmp\n", base.c_str());
        return 1;
      }
      std::remove((base + ".bmp").c_str());
    }
    std::printf("%s%s\n", base.c_str(), png ? ".png" : ".bmp");
  }
  return 0;
}
