// The autopilot of the tests: the race's own autopilot choosing, Up, Down, Left and Right held.
#include "support/autopilot.h"

#include <tuple>

#include "game/game_setup.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_autopilot.h"
#include "race/race_of_two.h"
#include "race/race_screen.h"
#include "track/track.h"

namespace testing_support {

ManualCalendar::ManualCalendar(std::time_t start) : now_(start) {
  platform::SetCalendarClock([this] { return now_; });
}

ManualCalendar::~ManualCalendar() {
  platform::SetCalendarClock({});
}

AutopilotReport DriveRace(ManualCalendar& calendar, DrivingPlan plan, int maxFrames,
                          int framesPerSecond, const std::function<void()>& afterStep,
                          const DrivingKeys& drivingKeys) {
  Race& race = Races[0];
  AutopilotReport report;
  for (int frame = 0; frame < maxFrames; ++frame) {
    if (frame > 0 && frame % framesPerSecond == 0) calendar.advance();
    const float healthBefore = race.player->car->health;
    race.step();
    report.runningFrames += race.state == Race::Running || race.state == Race::Finished;
    if (afterStep) afterStep();
    if (race.player->car->health < healthBefore) ++report.borderHits;
    report.frames = frame + 1;
    if (race.state == Race::Crashed || race.state == Race::Finished) break;

    HeldKeys keys;
    if (plan == DrivingPlan::IntoWall) {
      keys.accelerate = keys.left = true;
    } else if (race.state == Race::Running) {
      keys = AutopilotKeys(race);
    }
    KeyState[drivingKeys.up] = keys.accelerate;
    KeyState[drivingKeys.down] = keys.brake;
    KeyState[drivingKeys.left] = keys.left;
    KeyState[drivingKeys.right] = keys.right;
    RaceScreenInput();
  }
  ClearKeyState();
  report.state = race.state;
  report.laps = race.player->laps;
  report.health = race.player->car->health;
  if (race.state == Race::Finished) report.raceTime = race.finishTime - race.runStart;
  return report;
}

RaceOfTwoReport DriveRaceOfTwo(ManualCalendar& calendar, int maxFrames, const DrivingKeys& one,
                               const DrivingKeys& two) {
  RaceOfTwoReport report;
  const std::tuple<Race*, AutopilotReport*, const DrivingKeys*> cars[2] = {
      {&Races[0], &report.one, &one}, {&Races[1], &report.two, &two}};
  for (int frame = 0; frame < maxFrames && !(RaceDone(Races[0]) && RaceDone(Races[1])); ++frame) {
    if (frame > 0 && frame % 60 == 0) calendar.advance();
    const float before[2] = {Races[0].health(), Races[1].health()};
    StepRaceOfTwo();
    for (int i = 0; i < 2; ++i) {
      auto [race, r, held] = cars[i];
      r->borderHits += race->health() < before[i];
      const HeldKeys keys = race->state == Race::Running ? AutopilotKeys(*race) : HeldKeys{};
      KeyState[held->up] = keys.accelerate;
      KeyState[held->down] = keys.brake;
      KeyState[held->left] = keys.left;
      KeyState[held->right] = keys.right;
      r->runningFrames += race->state == Race::Running ||
                          (race->state == Race::Finished && r->state != Race::Finished);
      r->state = race->state, r->laps = race->player->laps, r->frames = frame + 1;
      r->health = race->health();
      r->raceTime = race->state == Race::Finished ? race->finishTime - race->runStart : 0;
    }
    RaceScreenInput();
  }
  ClearKeyState();
  return report;
}

}  // namespace testing_support
