// The --records listing: reads the best times and the ghosts, never writes.
#include "app/records_listing.h"

#include <algorithm>
#include <ostream>

#include "assets/terminal_text.h"

#include "race/race_time.h"
#include "records/best_times.h"
#include "records/ghost_share.h"
#include "records/ghost_store.h"
#include "track/medals.h"
#include "track/offered_tracks.h"

namespace {

// The player's own records: the best of each track and car with its ghost. 0, or 1 when the
// file could not be read or is not a best-times file (said on `errors`, left as it is).
int PrintOwnRecords(std::ostream& out, std::ostream& errors) {
  const std::filesystem::path file = BestTimesFile();
  if (file.empty()) return 0;
  std::string text, error;
  const ReadResult read = ReadWholeFile(file, BestTimesFileLimit, text, error);
  if (read == ReadResult::Missing) return 0;
  std::optional<RecordsTable> table;
  if (read == ReadResult::Read) {
    table = RecordsTable::parse(text);
    if (!table) error = ShownPath(file) + ": not a best-times file";
  }
  if (!table) {
    errors << "quillon: " << error << '\n';
    return 1;
  }
  const std::vector<OfferedTrack> tracks = OfferedTracks();
  for (const RaceRecord& race : table->bestOfEachPair()) {
    out << TerminalText(race.track) << '\t' << TerminalText(race.car) << '\t'
        << RaceTimeText(static_cast<double>(race.seconds)) << " seconds\t"
        << FormatRecordDate(race.date).substr(0, 10) << '\t';
    const auto ghost = PeekGhost(race.track, race.car);
    out << (ghost ? "ghost " + StepsTimeText(ghost->steps()) + " seconds" : "no ghost");
    // The medal the best time wins on a track offered now that has targets.
    const auto track = std::find_if(tracks.begin(), tracks.end(),
                                    [&](const OfferedTrack& t) { return t.key == race.track; });
    const Medal medal = track == tracks.end() ? Medal::None : MedalOf(race.seconds, track->targets);
    if (medal != Medal::None) out << '\t' << MedalName(medal) << " medal";
    out << '\n';
  }
  return 0;
}

}  // namespace

int PrintRecords(std::ostream& out, std::ostream& errors) {
  const int code = PrintOwnRecords(out, errors);
  // Other players' ghosts, after the player's own records.
  for (const ImportedGhostHeader& ghost : GameImportedGhosts.headers(true)) {
    out << "imported\t" << TerminalText(ghost.label.track) << '\t' << TerminalText(ghost.label.car)
        << '\t' << TerminalText(ghost.label.player) << "\tghost " << StepsTimeText(ghost.steps)
        << " seconds\n";
  }
  return code;
}
