// The player's best times: kept in $XDG_DATA_HOME/quillon/best-times.txt (by default
// ~/.local/share/quillon/), read on first use, written once at the finish of each race.
// Failures never stop the game: each kind is said once on standard error.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "records/player_file.h"
#include "records/records_file.h"
#include "records/records_format.h"

// The best-times file, from the environment at the time of the call: $XDG_DATA_HOME when it is
// an absolute path, else $HOME/.local/share; empty when neither gives a folder.
std::filesystem::path BestTimesFile();

// Larger files are not best-times files this game wrote (ten races a track and car is a few KB).
constexpr size_t BestTimesFileLimit = 1 << 20;

// What a finished race did to the best times of its track and car.
struct FinishRecord {
  std::optional<int64_t> best;  // the best time after this race
  bool newBest = false;         // this race beat the best time before it (or was the first)
};

class BestTimes {
 public:
  // The best time of this track and car in seconds; reads the file when it is first needed (or
  // the environment names another one).
  std::optional<int64_t> best(const std::string& track, const std::string& car);
  // Every race known, read as best() reads.
  const RecordsTable& table();
  // Holding the folder's lock, reads the file anew (a broken one is moved aside), adds the race
  // and, when it is kept, writes the file (never longer than it reads back: lines that are not
  // races are dropped first, said once). A race that cannot be written stays known for the
  // rest of the run and is written with the next race that can. A file of a newer version is
  // read but never written: the races of the run stay known only to the run.
  FinishRecord recordFinish(const RaceRecord& race);

  FileCalls fileCalls;             // replaced by tests to fail writes
  std::ostream* errors = nullptr;  // where failures are said; null: standard error

 private:
  void loadIfNeeded();
  // Reads `file_` into `table_`; a file that cannot be read or parsed is moved aside.
  void load();

  std::filesystem::path file_;
  bool loaded_ = false;
  RecordsTable table_;
  std::vector<RaceRecord> unsaved_;  // races of this run not yet written
  bool blocked_ = false;             // a broken file is still in the way: never replace it
  bool unreadable_ = false;          // the file could not be read this time: never replace it
  bool newer_ = false;               // the file is of a newer version: never replace it
  PlayerFileReader reader_{{"a best-times file",
                            ": written by a newer version of the game; its races are shown, the "
                            "races of this run are not saved",
                            ", best times start anew", "; best times are not saved"},
                           BestTimesFileLimit};
  bool toldWrite_ = false;
  bool toldDropped_ = false;
};

// The best times of the game.
extern BestTimes GameBestTimes;
