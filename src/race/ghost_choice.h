// The ghost the next race runs against: the player's own or the fastest imported one of the
// selected track and car, read when they are chosen so that a race start never waits for it.
#pragma once

#include <optional>
#include <string>

#include "records/ghost_format.h"

class GhostChoice {
 public:
  // Reads the ghosts of this track and car unless they are the ones read last. Never waits for
  // the lock of the player's files.
  void choose(const std::string& track, const std::string& car);
  // Switches between the player's own ghost and the fastest imported one; the choice holds for
  // every track and car (one without an imported ghost races the player's own).
  void switchSource() { importedWanted_ = !importedWanted_; }
  // Whether an imported ghost of the chosen track and car exists, and whether it is the one raced.
  bool hasImported() const { return imported_.has_value(); }
  bool racesImported() const { return importedWanted_ && imported_.has_value(); }
  // Whether the player keeps a ghost of the chosen track and car (the best race V watches).
  bool hasOwn() const { return own_.has_value() && !own_->poses.empty(); }
  // The ghost raced and whose it is: the imported player's name, or empty for the player's own.
  const std::optional<GhostPath>& ghost() const { return racesImported() ? imported_ : own_; }
  const std::string& whose() const;

  // The ghost of a race starting on this track and car: the one chosen for them, else the
  // player's own read now (also without waiting).
  std::optional<GhostPath> forRace(const std::string& track, const std::string& car);
  // Forgets what was read (after a race may have kept a faster ghost).
  void forget() { read_ = false; }

 private:
  bool read_ = false;
  std::string track_, car_;
  std::optional<GhostPath> own_, imported_;
  std::string importedName_;
  bool importedWanted_ = false;
};

extern GhostChoice ChosenGhost;
