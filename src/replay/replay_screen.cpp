// The replay screen: the replayed car's pose put into a race of its own and drawn by the race
// scene from the chosen camera, the race's messages and sounds as they were, and the viewer's
// keys.
#include "replay/replay_screen.h"

#include <GL/gl.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/split_screen.h"
#include "records/ghost_store.h"
#include "replay/replay_camera.h"
#include "replay/replay_sounds.h"
#include "track/track.h"
#include "track/track_identity.h"

Replay CurrentReplay;
int16_t ReplayReturnScreen = screen::TrackSelection;

namespace {

constexpr int KeyOne = 0x31;
constexpr int KeyTwo = 0x32;
constexpr int KeyThree = 0x33;
constexpr int KeyC = 0x43;

// The races the replay is drawn through, one a car: one car state at the replayed pose; they
// never step, so they never record anything.
Race Stages[MaxPlayers];
std::vector<Vector3f> Cameras;
ReplaySounds Sounds;

void SetStage(int car) {
  Race& stage = Stages[car];
  if (stage.cars.empty()) stage.cars.emplace_back();
  stage.player = &stage.cars.front();
  stage.track = CurrentReplay.track();
  stage.player->car = CurrentReplay.car(car);
  const GhostPose& pose = CurrentReplay.pose(car);
  stage.player->position = Vector3f(pose.x, pose.y, pose.z);
  stage.player->rotation = Vector3f(pose.pitch, pose.heading, pose.roll);
  stage.player->laps = CurrentReplay.lapsDone(car);
  stage.state = Race::Running;
  stage.view =
      CurrentReplay.camera() == Replay::Camera::Driver ? Race::DriverView : Race::ChaseView;
  stage.standingEye.reset();
  if (CurrentReplay.camera() == Replay::Camera::Trackside && !Cameras.empty())
    stage.standingEye = Cameras[NearestCamera(Cameras, stage.player->position)];
}

}  // namespace

void OpenReplay(Replay replay, int16_t from) {
  if (replay.empty()) return;
  CurrentReplay = std::move(replay);
  ReplayReturnScreen = from;
  Cameras = CurrentReplay.track() != nullptr ? TracksideCameras(*CurrentReplay.track())
                                             : std::vector<Vector3f>{};
  ScreenState = screen::Replay;
  Sounds.reset();
  // Keys still held from driving are not presses made in the replay.
  for (int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_SPACE}) KeyState[key] = false;
}

bool WatchBestRace(Track& track, Car& car) {
  const std::optional<GhostPath> best = GameGhosts.load(TrackRecordsName(track), car.name);
  if (!best || best->poses.empty()) return false;
  track.buildRoad();
  UseSkyOf(track);
  OpenReplay(Replay(*best, &track, &car), ScreenState);
  return true;
}

void WatchRaceJustDriven() {
  // A race of two is watched as it was: both cars, each in its own half.
  Replay replay = Replay::OfRace(Races[0]);
  for (int i = 1; i < MaxPlayers; ++i)
    if (Races[i].player != nullptr) replay.addRace(Races[i]);
  OpenReplay(std::move(replay), ScreenState);
}

void DrawReplayScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (CurrentReplay.empty() || CurrentReplay.track() == nullptr) return;
  const int cars = std::min(CurrentReplay.cars(), MaxPlayers);
  for (int car = 0; car < cars; ++car) SetStage(car);
  // Each car sees the other where it was.
  Stages[0].rival = cars > 1 ? Stages[1].player : nullptr;
  if (cars > 1) Stages[1].rival = Stages[0].player;
  if (cars == 1) {
    Stages[0].drawScene();
    DrawReplayMessages(CurrentReplay);
  } else {
    DrawStacked(cars, [](int car) {
      Stages[car].drawScene();
      DrawReplayRaceMessages(CurrentReplay, car);
    });
    DrawReplayStatus(CurrentReplay);
  }
  SpinAngle += 0.1f;
  Sounds.frame(CurrentReplay);
  CurrentReplay.advance();
}

void ReplayScreenInput() {
  if (TakeKeyPress(KeyOne)) CurrentReplay.choose(Replay::Camera::Driver);
  if (TakeKeyPress(KeyTwo)) CurrentReplay.choose(Replay::Camera::Chase);
  if (TakeKeyPress(KeyThree)) CurrentReplay.choose(Replay::Camera::Trackside);
  if (TakeKeyPress(KeyC)) CurrentReplay.cycleCamera();
  if (TakeKeyPress(VK_SPACE)) CurrentReplay.togglePause();
  if (TakeKeyPress(VK_LEFT)) CurrentReplay.seek(-Replay::SeekSteps);
  if (TakeKeyPress(VK_RIGHT)) CurrentReplay.seek(Replay::SeekSteps);
  if (TakeKeyPress(VK_UP)) CurrentReplay.faster();
  if (TakeKeyPress(VK_DOWN)) CurrentReplay.slower();
  if (TakeKeyPress(VK_ESCAPE)) {
    PlaySound(Sound::Back);
    ScreenState = ReplayReturnScreen;
  }
}
