// The cup: every track offered, in the track selection's order, one race each with the chosen
// car, the race times added up. Each finish leads to the next track after a short results line;
// a crash ends the cup. Escape asks whether to leave (Y/N); R restarts the current track before
// its "GO". At the end a results screen lists each track's time and medal, the total, and the
// best cup total of the car and tracks, with the time splits against it. With player two joined
// every race is a race of two: each track has its winner, and the lower total wins the cup.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "race/race_of_two.h"
#include "records/cup_times.h"
#include "track/medals.h"

struct CupRun {
  std::vector<int> tracks;              // TrackTable slots, in order
  std::vector<int64_t> times;           // race times of the tracks finished so far
  bool two = false;                     // player two races beside player one
  std::vector<int64_t> timesTwo;        // player two's race times
  std::vector<Outcome> winners;         // who won each track, in a cup of two
  bool crashed = false;                 // the cup ended in a crash
  bool asking = false;                  // Escape asked whether to leave
  int closingFrames = 0;                // frames of the current race's closing line
  std::optional<CupRecord> bestBefore;  // the best cup of the car and tracks before this one
  bool newBest = false;                 // this cup set it
  size_t current() const { return times.size(); }
};

extern CupRun Cup;

// Who wins a cup of two: the lower total (Open while it is not over, NobodyWins after a crash).
Outcome CupWinner(const CupRun& cup);

// With more tracks offered than this, a cup races those that come with the game alone.
constexpr int CupMostTracks = 12;

// Frames a race's closing line shows before the next track (or the results) comes.
constexpr int CupClosingFrames = 180;

// K on the track selection: the cup's first race.
void StartCup();
// The cup's race screen: the race, its closing line, the question on Escape.
void DrawCupRace();
void CupRaceInput();
// The cup's results; Enter or Escape goes back to the track selection.
void DrawCupResults();
void CupResultsInput();
