// A replay of one race (or of a race of two, both cars on one timeline): each car's recorded
// poses and what its race showed at each step, with the timeline a viewer moves through (pause,
// seeking, speeds) and the chosen camera. GL-free.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/frame_rate.h"
#include "race/race_sounds.h"
#include "records/ghost_format.h"

class Race;
class Track;
struct Car;

// What the race's messages showed after one step.
struct ReplayHud {
  int16_t state = 1;    // the race's state then: Running, or Finished or Crashed at the end
  int64_t seconds = 0;  // the race time shown (the finish time once Finished)
  int lapsLeft = 0;     // the laps left shown while running
  bool operator==(const ReplayHud&) const = default;
};

class Replay {
 public:
  enum class Camera { Driver, Chase, Trackside };  // as 1, 2 and 3 choose them
  // The speeds Up and Down step through, slowest first.
  static constexpr double Speeds[] = {0.25, 0.5, 1.0, 2.0, 4.0};
  static constexpr int SpeedCount = 5;
  static constexpr int NormalSpeed = 2;
  // How far Left and Right jump.
  static constexpr int32_t SeekSteps = 5 * FramesPerSecond;

  Replay() = default;
  // A kept ghost's race: the times are its steps counted in whole seconds, and it finished.
  Replay(const GhostPath& path, Track* track, Car* car);
  // The race just driven (finished or crashed), from its recorder and the times it showed.
  static Replay OfRace(const Race& race);
  // Another player's race driven beside that one, on the same track from the same countdown:
  // replayed with it, step for step.
  void addRace(const Race& race);

  // One frame of playback: moves on by the speed unless paused; stops on the last step.
  void advance();
  void togglePause() { paused_ = !paused_; }
  // Left and Right: `by` steps back (negative) or forward, kept within the race.
  void seek(int32_t by);
  void faster();
  void slower();
  // 1, 2, 3 choose a camera; C steps through them.
  void choose(Camera camera) { camera_ = camera; }
  void cycleCamera();

  bool empty() const { return cars_.empty() || cars_[0].path.poses.empty(); }
  // How many cars: 1, or one a player in a race of two; car 0 is player one's.
  int cars() const { return static_cast<int>(cars_.size()); }
  // The longest of the cars' races.
  int32_t steps() const;
  // The step on screen, 0 to steps() - 1.
  int32_t step() const;
  // A car's pose, laps completed and messages at the step on screen (a car whose race was over
  // by then stays at its last step).
  const GhostPose& pose(int car = 0) const;
  int16_t lapsDone(int car = 0) const;
  ReplayHud hud(int car = 0) const;
  bool paused() const { return paused_; }
  double speed() const { return Speeds[speed_]; }
  Camera camera() const { return camera_; }
  Track* track() const { return track_; }
  Car* car(int index = 0) const { return cars_.empty() ? nullptr : cars_[index].car; }
  // The replay's own line: "Replay  chase view  1/2x", or "paused" for the speed.
  std::string statusText() const;
  const GhostPath& path(int car = 0) const { return cars_[car].path; }
  // What a car's race sounded beyond its poses (none for a kept ghost), in step order, its
  // engine at each step (none for a kept ghost), and how it ended: Finished, Crashed, or Running
  // when it was cut short.
  const std::vector<SoundMark>& marks(int car = 0) const { return cars_[car].marks; }
  const std::vector<EngineStep>& engine(int car = 0) const { return cars_[car].engine; }
  int16_t endState(int car = 0) const { return cars_[car].endState; }

 private:
  // One car's race as it was driven.
  struct Driven {
    GhostPath path;
    std::vector<int64_t> shownSeconds;  // the race time shown after each step; empty: from steps
    std::vector<SoundMark> marks;
    std::vector<EngineStep> engine;
    int16_t endState = 3;  // Finished or Crashed
    int64_t finishSeconds = 0;
    Car* car = nullptr;
  };
  static Driven DrivenIn(const Race& race);
  // The step on screen of a car: the timeline's, or its race's last once that was over.
  int32_t stepOf(int car) const;

  std::vector<Driven> cars_;
  int16_t laps_ = 0;  // laps of the track
  Track* track_ = nullptr;
  double position_ = 0;  // in steps; fractional while slowed
  int speed_ = NormalSpeed;
  bool paused_ = false;
  Camera camera_ = Camera::Chase;
};
