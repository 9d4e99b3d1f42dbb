// trackmap: writes a top-down map of each built-in track into a folder, as PNG through
// ImageMagick's `convert` when it is there, otherwise (or with --bmp) as BMP.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formats/bmp_writer.h"
#include "track/track.h"
#include "track/track_definitions.h"
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
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--bmp") == 0) {
      bmpOnly = true;
    } else if (argv[i][0] == '-') {
      std::fprintf(stderr, "usage: %s [--bmp] [output folder]\n", argv[0]);
      return 2;
    } else {
      folder = argv[i];
    }
  }
  const bool png = !bmpOnly && HaveConvert();
  const Track defaults;  // road half-width of every track
  for (int index = 0; index < BuiltInTrackCount; ++index) {
    const formats::Picture picture =
        DrawTrackMap(BuiltInTrackCurve(index), defaults.halfWidth, 800);
    const std::string base = folder + "/" + kFileNames[index];
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
