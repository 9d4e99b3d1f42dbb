// A test driver that plays the current race through KeyState only, like a player: it follows
// the centre line ahead (or steers into the wall on purpose) under a calendar clock it controls.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace testing_support {

// Replaces the calendar clock for its lifetime; the time moves only when told to.
class ManualCalendar {
 public:
  explicit ManualCalendar(std::time_t start = 1'000'000);
  ~ManualCalendar();
  ManualCalendar(const ManualCalendar&) = delete;
  ManualCalendar& operator=(const ManualCalendar&) = delete;

  void advance(std::time_t seconds = 1) { now_ += seconds; }
  std::time_t now() const { return now_; }

 private:
  std::time_t now_;
};

enum class DrivingPlan {
  FollowRoad,  // accelerate, steer towards the centre line ahead, brake before tight bends
  IntoWall,    // hold Up and Left until the car is wrecked
};

struct AutopilotReport {
  int16_t state = 0;         // the race state when the run stopped
  int laps = 0;              // laps completed
  int frames = 0;            // frames played, countdown included
  int runningFrames = 0;     // simulation steps from the start to the finish
  int borderHits = 0;        // frames in which the car was off the road
  float health = 0;          // the car's health left
  std::time_t raceTime = 0;  // seconds from the start of running to the finish
};

// Plays Races[0] (already started) until it is no longer Ready or Running, or `maxFrames`
// frames have passed. Each frame runs the race's frame step without drawing, then sets the keys
// and runs the race input, in the main loop's order; the calendar moves one second every
// `framesPerSecond` frames. `afterStep` (if any) runs after each frame step. Leaves every key
// released.
// `drivingKeys` are the keys it holds to accelerate, brake and steer.
struct DrivingKeys {
  int up = 0x26, down = 0x28, left = 0x25, right = 0x27;
};
AutopilotReport DriveRace(ManualCalendar& calendar, DrivingPlan plan, int maxFrames = 30000,
                          int framesPerSecond = 60, const std::function<void()>& afterStep = {},
                          const DrivingKeys& drivingKeys = {});

// Plays a race of two so until both are done, player two on keys bound by the caller.
struct RaceOfTwoReport {
  AutopilotReport one, two;
};
RaceOfTwoReport DriveRaceOfTwo(ManualCalendar& calendar, int maxFrames = 60000,
                               const DrivingKeys& one = {},
                               const DrivingKeys& two = {'W', 'S', 'A', 'D'});

}  // namespace testing_support
