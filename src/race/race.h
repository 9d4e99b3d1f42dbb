// Race: the one race that can be under way, with its car states, countdown and phases.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "game/players.h"
#include "race/car_state.h"
#include "race/race_ghost.h"
#include "race/race_sounds.h"
#include "track/medals.h"
#include "track/vector3d.h"

class Track;

// The driving keys held in one frame.
struct HeldKeys {
  bool accelerate = false, brake = false, left = false, right = false, nitro = false;
};

class Race {
 public:
  // Values of `state`.
  static constexpr int16_t Ready = 0;
  static constexpr int16_t Running = 1;
  static constexpr int16_t Crashed = 2;
  static constexpr int16_t Finished = 3;
  // Values of `view`.
  static constexpr int16_t DriverView = 0;
  static constexpr int16_t ChaseView = 1;

  std::vector<CarState> cars;   // car states of every race started so far, newest first
  CarState* player = nullptr;   // the car of the current race: always cars.front()
  Track* track = nullptr;       // the track of the current race (not owned)
  int16_t state = Ready;        // Ready, Running, Crashed or Finished
  std::time_t runStart = 0;     // clock reading when the race went from Ready to Running
  std::time_t finishTime = 0;   // clock reading when the last lap was completed
  std::time_t startTime = 0;    // clock reading taken by start()
  std::time_t now = 0;          // clock reading of the current frame
  int32_t nearestIndex = 0;     // index of the centre-line point nearest the car
  int16_t view = DriverView;    // DriverView or ChaseView
  std::string label = "READY";  // countdown text shown while Ready
  // Once Finished: the best time of this track and car, and whether this race set it.
  std::optional<int64_t> bestTime;
  bool newBestTime = false;
  // The medal this race's finish won that the best time before it had not (None when none).
  Medal newMedal = Medal::None;
  // The player's path being recorded, the kept ghost driving beside it and the lap splits.
  RaceGhost ghost;
  // The race time the messages showed after each simulation step, kept for the replay.
  std::vector<int64_t> shownSeconds;
  // A camera standing in the world and looking at the player's car (a replay's trackside view):
  // when set, the scene is seen from there instead of from `view`'s eye.
  std::optional<Vector3f> standingEye;
  // Whose race this is: 1, or 2 for player two's in a race of two (their own keys, no ghost to
  // race, their engine and events heard beside player one's; Escape, restart and the replay stay
  // player one's).
  int16_t racer = 1;
  // Player two's health, kept here and not in the roster car, which player one may drive too.
  std::optional<float> ownHealth;
  // In a race of two, the other player's car: drawn where it is, never touched.
  const CarState* rival = nullptr;
  // What this race sounds: player two's all but the countdown, on their own seat.
  RaceSounds sounds;

  // Places the player at the start, reads the clock and shows "READY".
  void start();
  // One frame: step() and then the scene, the messages of the state, and the spin of the texts.
  void drawFrame();
  // The part of a frame that needs no drawing: clock, countdown and, while running, the
  // simulation step. Tests and benchmarks call it to run races without a GL context.
  void step();
  // The same on a clock reading taken by the caller (both races of two on one reading).
  void step(std::time_t clock);
  // The five calls of one simulation step, in order.
  void simulate();
  // Turns the player's driving keys and nitro into pushes on their car (the race screen reads
  // the rest: the views and the keys that act on the whole race).
  void handleInput();
  // Those keys' pushes on the player's car (the autopilot drives through it too).
  void drive(const HeldKeys& keys);
  // Whether V now watches this race again: player one's race on its closing message, once
  // every race on screen is done (it would take the screen from a player still racing).
  bool replayOffered() const;
  // Feeds velocity and angular velocity from the gathered pushes.
  void updateVelocity();
  // Moves the car by its velocities and lets pitch and roll settle.
  void move();
  // Sets nearestIndex to the centre-line point nearest the car.
  void findNearestPoint();
  // On a file's track: nearestIndex is the first point of the centre line's segment nearest the
  // car, in three dimensions.
  void findNearestSegment();
  // On a file's track: the point of that segment nearest the car.
  Vector3d nearestOnRoad() const;
  // Counts laps through the two checkpoint windows; ends the race when all are done.
  void countLaps();
  // On a file's track: laps by the same two windows and lap zone, placed at the same shares of
  // a line of any length, and a lap also needs three quarters of the line's stretches passed in
  // order (32 stretches, or one a segment on a shorter line).
  void countFileLaps();
  // On a file's track: the car's height is the road's under it (plus the built-in ride height).
  void followRoad();
  // Pushes a car that left the road back, slows it and takes health; crashes it below zero.
  void checkBorder();
  // The sky, the car and the world of the current moment, with no step and no messages (a
  // replay draws its frames so).
  void drawScene();
  // The scene and the messages of the state: a frame after its step, without the spin.
  void drawPicture();
  // The health of the car in this race: its own when it has one, else the roster car's.
  float& carHealth();
  float health() const;

 private:
  // True when the track has a centre line the track tests can work on (two points or more).
  bool hasCentreLine() const;
  void countDown();
  // Keeps the time of a race that has just finished among the best times.
  void recordFinish();
  // The sky turned by the eye's angles (degrees: x pitch, y heading, z roll).
  void drawSky(const Vector3f& eyeRotation);
  // The banner and the road; the world matrix is current.
  void drawTrack();
  void drawSceneFromStand(const Vector3f& eye);
  void drawMessages();
  // The finish message's lines about the best time of this track and car.
  void drawBestTime();
  // The finish message's line naming a new medal, in its colour.
  void drawNewMedal();
  // The closing message's line naming V, when replayOffered().
  void drawReplayHint();
  // The ghost car, translucent, drawn after everything opaque; the world matrix is current.
  void drawGhost();
  // The other player's car at its pose; the world matrix is current.
  void drawRival();
  // The lap split under the race time, and the whole race's difference beside the best time.
  void drawSplit();
  void drawRaceDifference();
};

// Each player's race: Races[i] is Players[i]'s. Player one's is the race of a player alone;
// the others have a car only while the race under way is theirs too (see race_of_two.h).
extern Race Races[MaxPlayers];
