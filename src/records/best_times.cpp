// The best-times store of the game: where the file lives, reading it once, writing it at the
// finish, and saying each kind of failure once.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#include "records/best_times.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/clock.h"
#include "records/ghost_store.h"
#include "records/race_time.h"

BestTimes GameBestTimes;

namespace {

// Larger files are not best-times files this game wrote (ten races a track and car is a few KB).
constexpr size_t FileLimit = 1 << 20;

}  // namespace

std::filesystem::path BestTimesFile() {
  const std::filesystem::path home = XdgFolder("XDG_DATA_HOME", ".local/share");
  if (home.empty()) return {};
  return home / "quillon" / "best-times.txt";
}

void BestTimes::load() {
  loaded_ = true;
  blocked_ = false;
  newer_ = false;
  table_ = RecordsTable();
  if (file_.empty()) return;
  std::string text, error;
  const ReadResult read = ReadWholeFile(file_, FileLimit, text, error);
  if (read == ReadResult::Missing) return;
  if (read == ReadResult::Read) {
    if (auto parsed = RecordsTable::parse(text)) {
      table_ = std::move(*parsed);
      // A newer game's file is read for what this one understands and never written over.
      newer_ = table_.version() > RecordsTable::CurrentVersion;
      if (newer_) {
        SayOnce(toldNewer_, errors,
                file_.string() +
                    ": written by a newer version of the game; its races "
                    "are shown, the races of this run are not saved");
      }
      return;
    }
    error = file_.string() + ": not a best-times file";
  }
  std::string moveError;
  if (auto moved = MoveAside(file_, platform::CalendarTime(), moveError)) {
    SayOnce(toldRead_, errors, error + "; moved to " + moved->string() + ", best times start anew");
  } else {
    blocked_ = true;
    SayOnce(toldRead_, errors, error + "; " + moveError + "; best times are not saved");
  }
}

void BestTimes::loadIfNeeded() {
  std::filesystem::path file = BestTimesFile();
  if (loaded_ && file == file_) return;
  if (file != file_) unsaved_.clear();  // races of another file are not carried over
  file_ = std::move(file);
  load();
}

std::optional<int64_t> BestTimes::best(const std::string& track, const std::string& car) {
  loadIfNeeded();
  const auto race = table_.best(track, car);
  if (!race) return {};
  return race->seconds;
}

const RecordsTable& BestTimes::table() {
  loadIfNeeded();
  return table_;
}

FinishRecord BestTimes::recordFinish(const RaceRecord& race) {
  std::filesystem::path file = BestTimesFile();
  if (file != file_) unsaved_.clear();
  file_ = std::move(file);
  // Read, add and write under the folder's lock, so that games finishing together each add
  // their race to what the other wrote.
  std::string error;
  std::optional<RecordsLock> lock;
  if (!file_.empty() && MakePrivateFolders(file_.parent_path(), error))
    lock.emplace(file_.parent_path(), error);
  load();  // anew: another run of the game may have written since
  for (const RaceRecord& earlier : unsaved_) table_.add(earlier);
  const auto before = table_.best(race.track, race.car);
  const bool kept = table_.add(race);
  FinishRecord result;
  result.best = table_.best(race.track, race.car)->seconds;
  result.newBest = !before || race.seconds < before->seconds;
  if (kept) unsaved_.push_back(race);
  if (unsaved_.empty() || newer_) return result;

  if (file_.empty()) {
    error = "no folder for best times (neither XDG_DATA_HOME nor HOME is set)";
  } else if (!error.empty()) {
    // the folder could not be made or locked
  } else if (blocked_) {
    error = file_.string() + ": a broken file is in the way";
  } else {
    RemoveStaleTemporaries(file_);
    // Never more than the reader takes back: lines that are not races go first.
    bool dropped = false;
    const std::string text = table_.format(FileLimit, dropped);
    if (dropped) {
      SayOnce(toldDropped_, errors,
              file_.string() + ": lines that are not races dropped to keep it under " +
                  std::to_string(FileLimit) + " bytes");
    }
    if (text.size() > FileLimit) {
      error = file_.string() + ": too many races to keep it under " + std::to_string(FileLimit) +
              " bytes";
    } else if (WriteFileAtomically(file_, text, error, fileCalls)) {
      unsaved_.clear();
      return result;
    }
  }
  SayOnce(toldWrite_, errors, error + "; best times are not saved");
  return result;
}

namespace {

// A name as the terminal should show it: control characters (C0, DEL and C1) as \xNN escapes.
std::string Printable(const std::string& name) {
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

}  // namespace

int PrintRecords(std::ostream& out, std::ostream& errors) {
  // Only reads: a file that cannot be read or is not a best-times file is said and left as it is.
  const std::filesystem::path file = BestTimesFile();
  if (file.empty()) return 0;
  std::string text, error;
  const ReadResult read = ReadWholeFile(file, FileLimit, text, error);
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
    out << Printable(race.track) << '\t' << Printable(race.car) << '\t'
        << RaceTimeText(static_cast<double>(race.seconds)) << " seconds\t"
        << FormatRecordDate(race.date).substr(0, 10) << '\t';
    const auto ghost = PeekGhost(race.track, race.car);
    out << (ghost ? "ghost " + StepsTimeText(ghost->steps()) + " seconds" : "no ghost") << '\n';
  }
  return 0;
}
