// The kept ghosts: one file a track and car in $XDG_DATA_HOME/quillon/ghosts/ (beside the best
// times), read at a race start, replaced atomically by a faster race at its finish.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "records/ghost_format.h"
#include "records/player_file.h"
#include "records/records_file.h"

// The ghost file of a track and car: "<track>-<car>.ghost" as FileNameOf makes it (names kept
// to letters, digits and '_', every other byte written as %XX, a long name cut and told apart by
// a hash), so that any two names give two files. Empty when there is no folder for the player's
// data.
std::filesystem::path GhostFile(const std::string& track, const std::string& car);
// The file the kept ghost is read from: GhostFile, or, when only that exists, the file a ghost of
// too long a name was kept in before names were cut (it is replaced at the next faster race).
std::filesystem::path KeptGhostFile(const std::string& track, const std::string& car);

class GhostStore {
 public:
  GhostStore();
  // The kept ghost of this track and car. None when there is no file, when it is of a newer
  // version (left alone), when it cannot be read this time (left alone) or when it is broken
  // (moved aside). Never waits for the lock of the player's files: when another run holds it, a
  // broken file is left for the next finish to move.
  std::optional<GhostPath> load(const std::string& track, const std::string& car);
  // Keeps `path` when it is a whole ghost faster than the kept one (a broken kept file is moved
  // aside first, a newer one never replaced). True when a ghost of this track and car (this race
  // or a faster one of this run that could not be written before) was written. A ghost that
  // cannot be written now (no folder, no lock, a failed write, a kept file unreadable for a
  // moment) stays for the rest of the run, is the one load() gives when it is the faster, and is
  // written with the next finish that can write.
  bool keep(const std::string& track, const std::string& car, const GhostPath& path);

  FileCalls fileCalls;             // replaced by tests to fail writes
  std::ostream* errors = nullptr;  // where failures are said; null: standard error

 private:
  enum class Kept { None, Ghost, Newer, Unreadable, InTheWay };
  enum class Written { Yes, No, Later };  // No: slower than the kept ghost, or a newer file
  struct Unsaved {
    std::string track, car;
    GhostPath path;
  };
  std::optional<GhostPath> loadFile(const std::filesystem::path& file);
  // Writes one ghost of this run when it is faster than the kept one, under the lock.
  Written write(const std::string& track, const std::string& car, const GhostPath& path);
  // Reads the file; a broken one is moved aside when `mayMoveAside` (else, or when that fails,
  // InTheWay).
  Kept read(const std::filesystem::path& file, GhostPath& path, bool mayMoveAside);
  PlayerFileReader reader_;
  std::vector<Unsaved> unsaved_;  // ghosts of this run not yet written
  bool toldWrite_ = false;
};

// The kept ghost of this track and car as `quillon --records` shows it: only reads, so a file that
// cannot be read is simply no ghost here.
std::optional<GhostPath> PeekGhost(const std::string& track, const std::string& car);

// The ghosts of the game.
extern GhostStore GameGhosts;
