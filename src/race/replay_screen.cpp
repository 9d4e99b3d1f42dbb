// The replay screen: the replayed car's pose put into a race of its own and drawn by the race
// scene from the chosen camera, the race's messages as they were, and the viewer's keys.
#include "race/replay_screen.h"

#include <GL/gl.h>

#include <optional>
#include <utility>

#include "game/game_setup.h"
#include "game/game_sounds.h"
#include "platform/frame_flags.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/replay_camera.h"
#include "records/ghost_store.h"
#include "track/track.h"
#include "track/track_identity.h"

Replay CurrentReplay;
int16_t ReplayReturnScreen = screen::TrackSelection;

namespace {

constexpr int KeyOne = 0x31;
constexpr int KeyTwo = 0x32;
constexpr int KeyThree = 0x33;
constexpr int KeyC = 0x43;

// The race the replay is drawn through: one car state at the replayed pose; it never steps, so
// it never records anything.
Race Stage;
std::vector<Vector3f> Cameras;

void SetStage() {
  if (Stage.cars.empty()) Stage.cars.emplace_back();
  Stage.player = &Stage.cars.front();
  Stage.track = CurrentReplay.track();
  Stage.player->car = CurrentReplay.car();
  const GhostPose& pose = CurrentReplay.pose();
  Stage.player->position = Vector3f(pose.x, pose.y, pose.z);
  Stage.player->rotation = Vector3f(pose.pitch, pose.heading, pose.roll);
  Stage.player->laps = CurrentReplay.lapsDone();
  Stage.state = Race::Running;
  Stage.view =
      CurrentReplay.camera() == Replay::Camera::Driver ? Race::DriverView : Race::ChaseView;
  Stage.standingEye.reset();
  if (CurrentReplay.camera() == Replay::Camera::Trackside && !Cameras.empty())
    Stage.standingEye = Cameras[NearestCamera(Cameras, Stage.player->position)];
}

}  // namespace

void OpenReplay(Replay replay, int16_t from) {
  if (replay.empty()) return;
  CurrentReplay = std::move(replay);
  ReplayReturnScreen = from;
  Cameras = CurrentReplay.track() != nullptr ? TracksideCameras(*CurrentReplay.track())
                                             : std::vector<Vector3f>{};
  ScreenState = screen::Replay;
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
  OpenReplay(Replay::OfRace(Races[0]), ScreenState);
}

void DrawReplayScreen() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  if (CurrentReplay.empty() || CurrentReplay.track() == nullptr) return;
  SetStage();
  Stage.drawScene();
  DrawReplayMessages(CurrentReplay);
  SpinAngle += 0.1f;
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
