// The ghost sharing commands: export the player's best ghost, import other players' ghosts.
#include "app/ghost_commands.h"

#include <algorithm>
#include <iterator>
#include <ostream>

#include "app/records_listing.h"
#include "assets/terminal_text.h"
#include "game/game_setup.h"
#include "race/race_time.h"
#include "records/ghost_share.h"
#include "track/offered_tracks.h"

int ExportGhostCommand(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& errors) {
  if (arguments.size() != 3) {
    errors << "quillon: --export-ghost needs TRACK CAR FILE\n";
    return 1;
  }
  const std::string &trackName = arguments[0], &car = arguments[1], &file = arguments[2];
  // Names as --list-tracks and the car selection show them, exactly: a file's track is named
  // without the hash of its content, which only its records are kept under.
  const std::vector<OfferedTrack> tracks = OfferedTracks();
  const OfferedTrack* track = FindOfferedTrack(tracks, trackName);
  if (track == nullptr) {
    errors << "quillon: no track named '" << TerminalText(trackName)
           << "' (--list-tracks names them)\n";
    return 1;
  }
  if (std::find(std::begin(RosterCarNames), std::end(RosterCarNames), car) ==
      std::end(RosterCarNames)) {
    errors << "quillon: no car named '" << TerminalText(car) << "' (the cars are";
    for (const char* name : RosterCarNames) errors << ' ' << name;
    errors << ")\n";
    return 1;
  }
  std::string error;
  if (!ExportGhost(track->key, car, file, error)) {
    // The records name a file's track by its name and hash: the player knows it by its name.
    if (error.starts_with("no ghost of ")) error = "no ghost of " + track->name + " with " + car;
    errors << "quillon: " << TerminalText(error) << '\n';
    return 1;
  }
  out << "exported the ghost of " << TerminalText(track->name) << " with " << TerminalText(car)
      << " to " << TerminalText(file) << '\n';
  return 0;
}

int ImportGhostCommand(const std::vector<std::string>& files, std::ostream& out,
                       std::ostream& errors) {
  const std::vector<OfferedTrack> offered = OfferedTracks();
  std::vector<std::string> tracks;
  for (const OfferedTrack& track : offered) tracks.push_back(track.key);
  int code = files.empty() ? 1 : 0;
  for (const std::string& file : files) {
    std::string reason;
    ImportedGhost ghost;
    if (!ImportGhost(file, tracks, reason, &ghost)) {
      errors << "quillon: " << TerminalText(file) << ": not imported: " << TerminalText(reason)
             << '\n';
      code = 1;
      continue;
    }
    // Names as the terminal should show them: a file from anyone may hold control characters.
    // The track as the track selection names it, not by the key its records are kept under.
    const auto named = std::find_if(offered.begin(), offered.end(), [&](const OfferedTrack& t) {
      return t.key == ghost.label.track;
    });
    out << "imported " << TerminalText(file) << ": " << TerminalText(ghost.label.player) << " on "
        << TerminalText(named != offered.end() ? named->name : ghost.label.track) << " with "
        << TerminalText(ghost.label.car) << ", " << StepsTimeText(ghost.path.steps())
        << " seconds\n";
  }
  return code;
}
