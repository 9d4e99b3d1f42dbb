// The best-times store of the game: where the file lives, reading it once, writing it at the
// finish, and saying each kind of failure once.
// In records/, the player's own files, GL-free and below the menus and race.
#include "records/best_times.h"

#include <utility>

BestTimes GameBestTimes;

std::filesystem::path BestTimesFile() {
  const std::filesystem::path folder = RecordsFolder();
  return folder.empty() ? folder : folder / "best-times.txt";
}

void BestTimes::load() {
  loaded_ = true;
  table_ = RecordsTable();
  std::optional<RecordsTable> parsed;
  const FileState state = file_.empty()
                              ? FileState::Missing
                              : reader_.read(
                                    file_,
                                    [&parsed](std::string_view text) {
                                      parsed = RecordsTable::parse(text);
                                      if (!parsed) return FileCheck::Wrong;
                                      // A newer game's file is read for what this one understands.
                                      return parsed->version() > RecordsTable::CurrentVersion
                                                 ? FileCheck::Newer
                                                 : FileCheck::Good;
                                    },
                                    fileCalls, errors);
  if (state == FileState::Good || state == FileState::Newer) table_ = std::move(*parsed);
  newer_ = state == FileState::Newer;
  blocked_ = state == FileState::InTheWay;
  unreadable_ = state == FileState::Unreadable;
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
  FinishRecord result;
  bool added = false;
  // Read anew (another run of the game may have written since), with the races of this run not
  // yet written and this one added.
  const auto add = [&] {
    load();
    for (const RaceRecord& earlier : unsaved_) table_.add(earlier);
    const auto before = table_.best(race.track, race.car);
    if (table_.add(race)) unsaved_.push_back(race);
    result.best = table_.best(race.track, race.car)->seconds;
    result.newBest = !before || race.seconds < before->seconds;
    added = true;
  };
  // Read, added and written under the folder's lock, so that games finishing together each add
  // their race to what the other wrote.
  std::string error = "no folder for best times (neither XDG_DATA_HOME nor HOME is set)";
  WriteResult written = WriteResult::Failed;
  if (!file_.empty()) {
    written = WriteUnderLock(
        file_, file_.parent_path(),
        [&](std::string& why) -> std::optional<std::string> {
          add();
          // A newer file is never written over; one that could not be read was said and is
          // tried again at the next finish.
          if (unsaved_.empty() || newer_ || unreadable_) return {};
          if (blocked_) {
            why = ShownPath(file_) + ": a broken file is in the way";
            return {};
          }
          // Never more than the reader takes back: lines that are not races go first.
          bool dropped = false;
          std::string text = table_.format(BestTimesFileLimit, dropped);
          if (dropped) {
            SayOnce(toldDropped_, errors,
                    ShownPath(file_) + ": lines that are not races dropped to keep it under " +
                        std::to_string(BestTimesFileLimit) + " bytes");
          }
          if (text.size() > BestTimesFileLimit) {
            why = ShownPath(file_) + ": too many races to keep it under " +
                  std::to_string(BestTimesFileLimit) + " bytes";
            return {};
          }
          return text;
        },
        fileCalls, error);
  }
  if (!added) add();  // the folder could not be had: the race is still known to this run
  if (written == WriteResult::Written) unsaved_.clear();
  if (written != WriteResult::Failed || unsaved_.empty() || newer_ || unreadable_) return result;
  SayOnce(toldWrite_, errors, error + "; best times are not saved");
  return result;
}
