// Choosing the ghost to race: the player's own, or the fastest imported one.
#include "race/ghost_choice.h"

#include "records/ghost_share.h"
#include "records/ghost_store.h"

GhostChoice ChosenGhost;

void GhostChoice::choose(const std::string& track, const std::string& car) {
  if (read_ && track == track_ && car == car_) return;
  read_ = true;
  track_ = track;
  car_ = car;
  own_ = GameGhosts.load(track, car);
  imported_.reset();
  importedName_.clear();
  if (auto fastest = FastestImportedGhost(track, car)) {
    imported_ = std::move(fastest->path);
    importedName_ = std::move(fastest->label.player);
  }
}

const std::string& GhostChoice::whose() const {
  static const std::string own;
  return racesImported() ? importedName_ : own;
}

std::optional<GhostPath> GhostChoice::forRace(const std::string& track, const std::string& car) {
  if (read_ && track == track_ && car == car_) return ghost();
  return GameGhosts.load(track, car);
}
