// The ghost sharing commands: export the player's best ghost, import other players' ghosts.
#include "app/ghost_commands.h"

#include <ostream>

#include "assets/terminal_text.h"
#include "race/race_time.h"
#include "records/ghost_share.h"
#include "track/track_key.h"

namespace {

// The key a ghost of the named track is kept under: a track read from a file is named on the
// command line by its name alone, and kept under its name and the hash of its content.
std::string KeyOfTrackNamed(const std::string& name) {
  for (const std::string& key : KnownTrackKeys()) {
    if (key == name) return key;
    if (key.size() > name.size() + 2 && key.starts_with(name) &&
        key.compare(name.size(), 2, " #") == 0)
      return key;
  }
  return name;
}

}  // namespace

int ExportGhostCommand(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& errors) {
  std::string error;
  if (arguments.size() != 3 ||
      !ExportGhost(KeyOfTrackNamed(arguments[0]), arguments[1], arguments[2], error)) {
    errors << "quillon: " << (error.empty() ? "--export-ghost needs TRACK CAR FILE" : error)
           << '\n';
    return 1;
  }
  out << "exported the ghost of " << TerminalText(arguments[0]) << " with "
      << TerminalText(arguments[1]) << " to " << TerminalText(arguments[2]) << '\n';
  return 0;
}

int ImportGhostCommand(const std::vector<std::string>& files, std::ostream& out,
                       std::ostream& errors) {
  const std::vector<std::string> tracks = KnownTrackKeys();
  int code = files.empty() ? 1 : 0;
  for (const std::string& file : files) {
    std::string reason;
    ImportedGhost ghost;
    if (!ImportGhost(file, tracks, reason, &ghost)) {
      errors << "quillon: " << TerminalText(file) << ": not imported: " << reason << '\n';
      code = 1;
      continue;
    }
    // Names as the terminal should show them: a file from anyone may hold control characters.
    out << "imported " << TerminalText(file) << ": " << TerminalText(ghost.label.player) << " on "
        << TerminalText(ghost.label.track) << " with " << TerminalText(ghost.label.car) << ", "
        << StepsTimeText(ghost.path.steps()) << " seconds\n";
  }
  return code;
}
