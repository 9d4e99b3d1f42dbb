// Player two's race: its start beside player one, the shared clock and who won.
#include "race/race_of_two.h"

#include <algorithm>

#include "game/game_setup.h"
#include "track/track.h"

double SecondGridOffset(double halfWidth) {
  // Both cars are about 0.09 wide; player two's far side keeps 0.03 inside the border test's
  // reach (half-width less 0.07) on the narrowest road a track file may have (0.2).
  return std::clamp(halfWidth - 0.07 - 0.05, 0.0, 0.25);
}

void StartRaceBeside(const Player& player) {
  Race& two = Races[player.number - 1];
  Car& car = player.car();
  two.racer = static_cast<int16_t>(player.number);
  two.track = Races[0].track;
  CarState fresh;
  fresh.car = &car;
  // Only this race's car: player two's earlier races are of no use to anything.
  two.cars.assign(1, fresh);
  two.player = &two.cars.front();
  two.ownHealth = car.health;  // restored with the roster just before
  two.start();
  // Beside player one (who faces +x, so their right is +z), on the same clock reading.
  const double halfWidth = two.track != nullptr ? two.track->halfWidth : 0.7;
  two.player->position.z =
      static_cast<float>(Races[0].player->position.z + SecondGridOffset(halfWidth));
  two.findNearestPoint();
  two.startTime = two.now = Races[0].startTime;
  Races[0].rival = two.player;
  two.rival = Races[0].player;
}

void EndRacesBeside() {
  for (int i = 1; i < MaxPlayers; ++i) {
    Races[i].player = nullptr;
    Races[i].rival = nullptr;
  }
  Races[0].rival = nullptr;
}

void StepRaceOfTwo() {
  Races[0].step();
  for (int i = 1; i < MaxPlayers; ++i)
    if (Races[i].player != nullptr) Races[i].step(Races[0].now);
}

Outcome OutcomeOf(const Race& one, const Race& two) {
  if (!RaceDone(one) || !RaceDone(two)) return Outcome::Open;
  const bool oneFinished = one.state == Race::Finished, twoFinished = two.state == Race::Finished;
  if (!oneFinished && !twoFinished) return Outcome::NobodyWins;
  if (oneFinished != twoFinished)
    return oneFinished ? Outcome::PlayerOneWins : Outcome::PlayerTwoWins;
  const int32_t stepsOne = one.ghost.steps(), stepsTwo = two.ghost.steps();
  if (stepsOne == stepsTwo) return Outcome::DeadHeat;
  return stepsOne < stepsTwo ? Outcome::PlayerOneWins : Outcome::PlayerTwoWins;
}

const char* OutcomeText(Outcome outcome) {
  switch (outcome) {
    case Outcome::PlayerOneWins:
      return "Player 1 wins";
    case Outcome::PlayerTwoWins:
      return "Player 2 wins";
    case Outcome::DeadHeat:
      return "Dead heat";
    case Outcome::NobodyWins:
      return "Nobody wins";
    default:
      return "";
  }
}
