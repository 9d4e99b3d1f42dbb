// The --records listing: reads the best times and the ghosts, never writes.
#include "app/records_listing.h"

#include <cstdio>
#include <ostream>

#include "race/race_time.h"
#include "records/best_times.h"
#include "records/ghost_share.h"
#include "records/ghost_store.h"

std::string PrintableName(const std::string& name) {
  std::string text;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    const bool c1 = c == 0xC2 && i + 1 < name.size() &&
                    (static_cast<unsigned char>(name[i + 1]) & 0xE0) == 0x80;
    if (c >= 0x20 && c != 0x7F && !c1) {
      text += static_cast<char>(c);
      continue;
    }
    for (int n = c1 ? 2 : 1; n > 0; --n, ++i) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(name[i]));
      text += escape;
    }
    --i;
  }
  return text;
}

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
    if (!table) error = file.string() + ": not a best-times file";
  }
  if (!table) {
    errors << "quillon: " << error << '\n';
    return 1;
  }
  for (const RaceRecord& race : table->bestOfEachPair()) {
    out << PrintableName(race.track) << '\t' << PrintableName(race.car) << '\t'
        << RaceTimeText(static_cast<double>(race.seconds)) << " seconds\t"
        << FormatRecordDate(race.date).substr(0, 10) << '\t';
    const auto ghost = PeekGhost(race.track, race.car);
    out << (ghost ? "ghost " + StepsTimeText(ghost->steps()) + " seconds" : "no ghost") << '\n';
  }
  return 0;
}

}  // namespace

int PrintRecords(std::ostream& out, std::ostream& errors) {
  const int code = PrintOwnRecords(out, errors);
  // Other players' ghosts, after the player's own records.
  for (const ImportedGhost& ghost : ImportedGhosts()) {
    out << "imported\t" << PrintableName(ghost.label.track) << '\t'
        << PrintableName(ghost.label.car) << '\t' << PrintableName(ghost.label.player) << "\tghost "
        << StepsTimeText(ghost.path.steps()) << " seconds\n";
  }
  return code;
}
