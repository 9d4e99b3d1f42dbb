// A race of two: player two's race beside the single race, on the same track and clock, with
// its own car beside player one's on the start grid, and who won once both are done.
#pragma once

#include <ctime>

#include "race/race.h"

// Player two's race, Races[1], has a car only while the race under way is a race of two. It is a
// Race of its own, not a second car inside the one race: every rule of a race (countdown, track
// tests, laps, damage, crash, finish, best time, ghost) is then player two's exactly as player
// one's, and a race alone runs the same code as before.
inline bool RaceOfTwo() {
  return Races[1].player != nullptr;
}
inline bool RaceDone(const Race& race) {
  return race.state == Race::Crashed || race.state == Race::Finished;
}
// Whether every race under way (player one's and any beside it) is done.
inline bool EveryRaceDone() {
  for (const Race& race : Races)
    if (&race == &Races[0] || race.player != nullptr) {
      if (!RaceDone(race)) return false;
    }
  return true;
}

// How far to the right of player one player two starts on a road of this half-width: a
// quarter of a unit, nearer on a narrow road so that both cars keep inside it, side by side.
double SecondGridOffset(double halfWidth);

// Starts `player`'s race (not player one's) in their car beside player one's, which has just
// started: the same track, start time and countdown, their own health, and each car the other's
// rival.
void StartRaceBeside(const Player& player);
// Ends the races beside player one's, if any: the next race is player one's alone.
void EndRacesBeside();

// The frame step of a race of two: every race on one clock reading.
void StepRaceOfTwo();

enum class Outcome { Open, PlayerOneWins, PlayerTwoWins, DeadHeat, NobodyWins };
// Once both are done: a finish beats a crash; of two finishes, the one in fewer simulation
// steps (the race's fine clock) wins, and the same step is a dead heat; two crashes, nobody.
Outcome OutcomeOf(const Race& one, const Race& two);
// "Player 1 wins", "Player 2 wins", "Dead heat", "Nobody wins"; empty while open.
const char* OutcomeText(Outcome outcome);

// One frame of a race of two: the step, then player one's picture in the top half of the
// window's picture and player two's in the bottom half, each from its own camera with its own
// messages, and the line of who won in both once both are done.
void DrawRaceOfTwo();
