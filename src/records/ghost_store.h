// The kept ghosts: one file a track and car in $XDG_DATA_HOME/quillon/ghosts/ (beside the best
// times), read at a race start, replaced atomically by a faster race at its finish.
// In records/, the player's own files, GL-free and below the menus and race.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "records/ghost_format.h"
#include "records/player_file.h"
#include "records/records_file.h"

// `name` with every byte but letters, digits and '_' written as %XX: two names never share one.
std::string SafeFileName(const std::string& name);

// The ghost file of a track and car: "<track>-<car>.ghost", each name kept to letters, digits
// and '_' with every other byte written as %XX, so that any two names give two files. Empty when
// there is no folder for the player's data.
std::filesystem::path GhostFile(const std::string& track, const std::string& car);

class GhostStore {
 public:
  GhostStore();
  // The kept ghost of this track and car. None when there is no file, when it is of a newer
  // version (left alone), when it cannot be read this time (left alone) or when it is broken
  // (moved aside). Never waits for the lock of the player's files: when another run holds it, a
  // broken file is left for the next finish to move.
  std::optional<GhostPath> load(const std::string& track, const std::string& car);
  // Keeps `path` when it is a whole ghost faster than the kept one (a broken kept file is moved
  // aside first, a newer one never replaced). True when the new file was written.
  bool keep(const std::string& track, const std::string& car, const GhostPath& path);

  FileCalls fileCalls;             // replaced by tests to fail writes
  std::ostream* errors = nullptr;  // where failures are said; null: standard error

 private:
  enum class Kept { None, Ghost, Newer, Unreadable, InTheWay };
  // Reads the file; a broken one is moved aside when `mayMoveAside` (else, or when that fails,
  // InTheWay).
  Kept read(const std::filesystem::path& file, GhostPath& path, bool mayMoveAside);
  PlayerFileReader reader_;
  bool toldWrite_ = false;
};

// The kept ghost of this track and car as `quillon --records` shows it: only reads, so a file that
// cannot be read is simply no ghost here.
std::optional<GhostPath> PeekGhost(const std::string& track, const std::string& car);

// The ghosts of the game.
extern GhostStore GameGhosts;
