// The ghost sharing commands: export the player's best ghost, import other players' ghosts.
#include "app/ghost_commands.h"

#include <ostream>

#include "app/records_listing.h"
#include "race/race_time.h"
#include "records/ghost_share.h"
#include "track/track_key.h"

int ExportGhostCommand(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& errors) {
  std::string error;
  if (arguments.size() != 3 || !ExportGhost(arguments[0], arguments[1], arguments[2], error)) {
    errors << "quillon: " << (error.empty() ? "--export-ghost needs TRACK CAR FILE" : error)
           << '\n';
    return 1;
  }
  out << "exported the ghost of " << arguments[0] << " with " << arguments[1] << " to "
      << arguments[2] << '\n';
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
      errors << "quillon: " << PrintableName(file) << ": not imported: " << PrintableName(reason)
             << '\n';
      code = 1;
      continue;
    }
    // Names as the terminal should show them: a file from anyone may hold control characters.
    out << "imported " << PrintableName(file) << ": " << PrintableName(ghost.label.player) << " on "
        << PrintableName(ghost.label.track) << " with " << PrintableName(ghost.label.car) << ", "
        << StepsTimeText(ghost.path.steps()) << " seconds\n";
  }
  return code;
}
