// The best-times store of the game: where the file lives, reading it once, writing it at the
// finish, and saying each kind of failure once.
// In records/, the player's own files (best times now), GL-free and below the menus and race.
#include "records/best_times.h"

#include <sys/stat.h>

#include <cerrno>
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

std::filesystem::path DataHome() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return data;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::filesystem::path(home) / ".local" / "share";
  return {};
}

// Creates the file's folder (itself private to the player, as XDG asks) and its parents.
bool MakeFolder(const std::filesystem::path& folder, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(folder.parent_path(), ec);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = folder.string() + ": cannot create the folder: " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

std::filesystem::path BestTimesFile() {
  const std::filesystem::path home = DataHome();
  if (home.empty()) return {};
  return home / "quillon" / "best-times.txt";
}

void BestTimes::tell(bool& told, const std::string& text) {
  if (told) return;
  told = true;
  (errors != nullptr ? *errors : std::cerr) << "quillon: " << text << std::endl;
}

void BestTimes::load() {
  loaded_ = true;
  blocked_ = false;
  table_ = RecordsTable();
  if (file_.empty()) return;
  std::string text, error;
  const ReadResult read = ReadWholeFile(file_, FileLimit, text, error);
  if (read == ReadResult::Missing) return;
  if (read == ReadResult::Read) {
    if (auto parsed = RecordsTable::parse(text)) {
      table_ = std::move(*parsed);
      return;
    }
    error = file_.string() + ": not a best-times file";
  }
  std::string moveError;
  if (auto moved = MoveAside(file_, platform::CalendarTime(), moveError)) {
    tell(toldRead_, error + "; moved to " + moved->string() + ", best times start anew");
  } else {
    blocked_ = true;
    tell(toldRead_, error + "; " + moveError + "; best times are not saved");
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
  load();  // anew: another run of the game may have written since
  for (const RaceRecord& earlier : unsaved_) table_.add(earlier);
  const auto before = table_.best(race.track, race.car);
  const bool kept = table_.add(race);
  FinishRecord result;
  result.best = table_.best(race.track, race.car)->seconds;
  result.newBest = !before || race.seconds < before->seconds;
  if (kept) unsaved_.push_back(race);
  if (unsaved_.empty()) return result;

  std::string error;
  if (file_.empty()) {
    error = "no folder for best times (neither XDG_DATA_HOME nor HOME is set)";
  } else if (blocked_) {
    error = file_.string() + ": a broken file is in the way";
  } else if (MakeFolder(file_.parent_path(), error) &&
             WriteFileAtomically(file_, table_.format(), error, fileCalls)) {
    unsaved_.clear();
    return result;
  }
  tell(toldWrite_, error + "; best times are not saved");
  return result;
}

int PrintRecords(std::ostream& out) {
  for (const RaceRecord& race : GameBestTimes.table().bestOfEachPair()) {
    out << race.track << '\t' << race.car << '\t' << RaceTimeText(static_cast<double>(race.seconds))
        << " seconds\t" << FormatRecordDate(race.date).substr(0, 10) << '\t';
    const auto ghost = GameGhosts.load(race.track, race.car);
    out << (ghost ? "ghost " + StepsTimeText(ghost->steps()) + " seconds" : "no ghost") << '\n';
  }
  return 0;
}
