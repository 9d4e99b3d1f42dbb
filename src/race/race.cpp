// The one race: its start, the countdown on whole calendar seconds and the frame step.
#include "race/race.h"

#include "game/action_input.h"
#include "game/game_setup.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "race/race_of_two.h"
#include "race/race_sounds.h"
#include "records/best_times.h"
#include "track/track.h"
#include "track/track_identity.h"

Race Races[MaxPlayers];

void Race::start() {
  startTime = now = platform::CalendarTime();
  player->position = Vector3f(-2.3, 0.05, 0.0);
  player->rotation = Vector3f(0.0, -90.0, 0.0);
  findNearestPoint();
  state = Ready;
  label = "READY";
  bestTime.reset();
  newBestTime = false;
  newMedal = Medal::None;
  // Player two races no ghost, but keeps their own when faster.
  if (track != nullptr && player->car != nullptr)
    ghost.begin(TrackRecordsName(*track), player->car->name, racer == 1);
  shownSeconds.clear();
  shownSeconds.reserve(GhostMaxSteps);
  sounds.reset(racer - 1);
}

void Race::countDown() {
  const double elapsed = static_cast<double>(now - startTime);
  if (elapsed > 4) {
    state = Running;
    runStart = now;
  }
  // Each later label overwrites the earlier one in the same frame.
  const char* text = nullptr;
  if (elapsed > 0.5) text = "3";
  if (elapsed > 1.5) text = "2";
  if (elapsed > 2.5) text = "1";
  if (elapsed > 3.5) text = "GO";
  if (text != nullptr) label = text;
}

void Race::step() {
  if (player == nullptr) return;
  step(platform::CalendarTime());
}

void Race::step(std::time_t clock) {
  if (player == nullptr) return;
  now = clock;
  if (state == Ready) countDown();
  // Tested after the countdown, so the first simulation step runs in the frame it ends.
  if (state == Running) {
    simulate();
    ghost.afterStep(*player);
    if (shownSeconds.size() < static_cast<size_t>(GhostMaxSteps))
      shownSeconds.push_back(now - runStart);
    // Only a race that ends Finished is recorded, once, in the frame of the finish.
    if (state == Finished) recordFinish();
  }
  sounds.frame(*this, ActionHeld(GameControls(racer), Action::Accelerate));
}

void Race::recordFinish() {
  if (track == nullptr || player->car == nullptr || track->trial) return;
  ghost.finish();
  const std::time_t seconds = finishTime - runStart;
  if (seconds < 0) return;  // the calendar was set back during the race: no real time
  const std::string name = TrackRecordsName(*track);
  const Medal before = MedalOf(GameBestTimes.best(name, player->car->name), track->targets);
  const FinishRecord record = GameBestTimes.recordFinish(
      RaceRecord{name, player->car->name, static_cast<int64_t>(seconds), finishTime});
  bestTime = record.best;
  newBestTime = record.newBest;
  // Medals follow from the best time: one is new when the new best time wins more than the old.
  if (const Medal now = MedalOf(bestTime, track->targets); now > before) newMedal = now;
}

void Race::simulate() {
  findNearestPoint();
  countLaps();
  checkBorder();
  updateVelocity();
  move();
  if (track != nullptr && track->fromFile) followRoad();
}

float& Race::carHealth() {
  return ownHealth ? *ownHealth : player->car->health;
}

float Race::health() const {
  return ownHealth ? *ownHealth : player->car->health;
}

bool Race::replayOffered() const {
  return RaceDone(*this) && this == &Races[0] && EveryRaceDone();
}

bool Race::hasCentreLine() const {
  return player != nullptr && track != nullptr && track->curve.points.size() >= 2;
}
