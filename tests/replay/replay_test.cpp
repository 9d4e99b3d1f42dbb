// Replays: an autopilot race played back gives the race's poses and messages at every step,
// from memory and from the kept ghost; pause, seeking and speeds land on the right step; the
// keys open and leave the replay screen, and watching writes no record.
#include <gtest/gtest.h>

#include "menu/track_selection.h"
#include "race/race_fixture.h"
#include "records/best_times.h"
#include "records/ghost_store.h"
#include "replay/replay_screen.h"

namespace {

using race_testing::PoseOf;
using race_testing::RaceTest;
using testing_support::DrivingPlan;
using testing_support::ReadFile;

constexpr int KeyV = 0x56;

// What the race's messages showed after its last step.
ReplayHud HudOf(const Race& race) {
  ReplayHud hud;
  hud.state = race.state;
  hud.seconds =
      race.state == Race::Finished ? race.finishTime - race.runStart : race.now - race.runStart;
  hud.lapsLeft = race.track->laps - race.player->laps;
  return hud;
}

struct Driven {
  std::vector<GhostPose> poses;
  std::vector<ReplayHud> huds;
};

// Drives the started race with the autopilot, noting the pose and messages of every step.
Driven Drive(testing_support::ManualCalendar& calendar, DrivingPlan plan) {
  Driven driven;
  testing_support::DriveRace(calendar, plan, 30000, 60, [&] {
    if (Races[0].ghost.steps() == static_cast<int32_t>(driven.poses.size())) return;
    driven.poses.push_back(PoseOf(*Races[0].player));
    driven.huds.push_back(HudOf(Races[0]));
  });
  return driven;
}

void ExpectPlaysBack(Replay replay, const Driven& driven) {
  ASSERT_EQ(replay.steps(), static_cast<int32_t>(driven.poses.size()));
  for (size_t k = 0; k < driven.poses.size(); ++k) {
    ASSERT_EQ(replay.step(), static_cast<int32_t>(k));
    ASSERT_EQ(replay.pose(), driven.poses[k]) << k;
    ASSERT_EQ(replay.hud(), driven.huds[k]) << k;
    replay.advance();
  }
  EXPECT_EQ(replay.step(), replay.steps() - 1);  // it stays on the end
}

TEST_F(RaceTest, AutopilotRacesPlayBackWithTheirPosesAndMessagesAtEveryStep) {
  startRace(0, 1);
  const Driven finished = Drive(calendar, DrivingPlan::FollowRoad);
  ASSERT_EQ(Races[0].state, Race::Finished);
  ASSERT_EQ(finished.huds.back().state, Race::Finished);
  ASSERT_EQ(finished.huds.back().lapsLeft, 0);
  ExpectPlaysBack(Replay::OfRace(Races[0]), finished);
  // The kept ghost gives the same race: its times are its steps in whole seconds, which the
  // calendar moving once every 60 steps matches.
  const auto kept = GameGhosts.load(TrackTable[1].name, CarRoster[0].name);
  ASSERT_TRUE(kept);
  ExpectPlaysBack(Replay(*kept, &TrackTable[1], &CarRoster[0]), finished);

  // A crash is replayed up to the crash, which the last step shows.
  startRace(1, 0);
  const Driven crashed = Drive(calendar, DrivingPlan::IntoWall);
  ASSERT_EQ(crashed.huds.back().state, Race::Crashed);
  ExpectPlaysBack(Replay::OfRace(Races[0]), crashed);
}

// A path of `steps` poses whose x is the step's index, laps ending at 100 and at the end.
Replay Numbered(int32_t steps) {
  GhostPath path;
  for (int32_t k = 0; k < steps; ++k) path.poses.push_back({static_cast<float>(k), 0, 0, 0, 0, 0});
  path.lapSteps = {100, steps};
  return Replay(path, nullptr, nullptr);
}

TEST(ReplayTimeline, PauseSeekingAndSpeedsLandOnTheRightStep) {
  Replay replay = Numbered(1000);
  EXPECT_EQ(replay.statusText(), "Replay  chase view  1x");
  replay.advance();
  replay.advance();
  EXPECT_EQ(replay.step(), 2);
  EXPECT_EQ(replay.pose().x, 2.0f);
  replay.togglePause();
  EXPECT_EQ(replay.statusText(), "Replay  chase view  paused");
  replay.advance();
  EXPECT_EQ(replay.step(), 2);
  replay.seek(Replay::SeekSteps);  // seeking works while paused
  EXPECT_EQ(replay.step(), 302);
  replay.togglePause();

  // A quarter: four frames a step; a half: two; then 2 and 4 steps a frame, and no faster.
  replay.slower();
  replay.slower();
  replay.slower();
  EXPECT_EQ(replay.speed(), 0.25);
  for (int frame = 1; frame <= 8; ++frame) {
    replay.advance();
    EXPECT_EQ(replay.step(), 302 + frame / 4) << frame;
  }
  replay.faster();
  EXPECT_EQ(replay.statusText(), "Replay  chase view  1/2x");
  replay.advance();
  replay.advance();
  EXPECT_EQ(replay.step(), 305);
  for (int i = 0; i < 5; ++i) replay.faster();
  EXPECT_EQ(replay.speed(), 4.0);
  replay.advance();
  EXPECT_EQ(replay.step(), 309);

  // Back 5 s from 309 is step 9; again stops at the start; forward past the end stops at the end.
  replay.seek(-Replay::SeekSteps);
  EXPECT_EQ(replay.step(), 9);
  EXPECT_EQ(replay.lapsDone(), 0);
  replay.seek(-Replay::SeekSteps);
  EXPECT_EQ(replay.step(), 0);
  for (int i = 0; i < 4; ++i) replay.seek(Replay::SeekSteps);
  EXPECT_EQ(replay.step(), 999);
  EXPECT_EQ(replay.lapsDone(), 2);
  EXPECT_EQ(replay.hud(), (ReplayHud{Race::Finished, 16, 0}));
  replay.advance();
  EXPECT_EQ(replay.step(), 999);
  replay.seek(-Replay::SeekSteps);
  EXPECT_EQ(replay.hud(), (ReplayHud{Race::Running, 11, 1}));  // 699 steps: 11 s, a lap done

  // A slowed replay seeks from the step on screen, not from between steps.
  replay = Numbered(1000);
  replay.slower();
  replay.advance();
  replay.seek(Replay::SeekSteps);
  EXPECT_EQ(replay.step(), 300);
  replay.advance();
  replay.advance();
  EXPECT_EQ(replay.step(), 301);

  replay.choose(Replay::Camera::Trackside);
  replay.cycleCamera();
  EXPECT_EQ(replay.camera(), Replay::Camera::Driver);
  replay.cycleCamera();
  EXPECT_EQ(replay.statusText(), "Replay  chase view  1/2x");
}

TEST_F(RaceTest, VWatchesTheBestRaceAndTheRaceJustDrivenAndEscapeReturnsWithoutWritingRecords) {
  // No ghost yet: V on the track selection stays there.
  ScreenState = screen::TrackSelection;
  KeyState[KeyV] = true;
  TrackSelectionInput();
  EXPECT_EQ(ScreenState, 2);

  startRace(0, 0);
  KeyState[KeyV] = true;  // during the race V does nothing
  testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 600);
  ASSERT_EQ(Races[0].state, Race::Running);
  KeyState[KeyV] = true;
  RaceScreenInput(WatchRaceJustDriven);
  EXPECT_EQ(ScreenState, 3);
  testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
  ASSERT_EQ(Races[0].state, Race::Finished);
  const auto ghostFile = GhostFile(TrackTable[0].name, CarRoster[0].name);
  const auto timesFile = BestTimesFile();
  const std::string ghostBytes = ReadFile(ghostFile), timesBytes = ReadFile(timesFile);
  ASSERT_FALSE(ghostBytes.empty());

  // On the closing message: the race just driven, back to the closing message. Up still held
  // from driving does not speed the replay up.
  KeyState[KeyV] = KeyState[VK_UP] = true;
  RaceScreenInput(WatchRaceJustDriven);
  ASSERT_EQ(ScreenState, screen::Replay);
  ReplayScreenInput();
  EXPECT_EQ(CurrentReplay.speed(), 1.0);
  EXPECT_EQ(CurrentReplay.steps(), Races[0].ghost.recorded().steps());
  for (int frame = 0; frame < 200; ++frame) DrawReplayScreen(), ReplayScreenInput();
  KeyState[VK_ESCAPE] = true;
  ReplayScreenInput();
  EXPECT_EQ(ScreenState, 3);
  EXPECT_EQ(Races[0].state, Race::Finished);

  // From the track selection: the kept best race, played to its end with every key.
  ScreenState = screen::TrackSelection;
  KeyState[KeyV] = true;
  TrackSelectionInput();
  ASSERT_EQ(ScreenState, screen::Replay);
  for (int key : {0x31, 0x32, 0x33, 0x43, VK_SPACE, VK_SPACE, VK_RIGHT, VK_UP, VK_UP}) {
    KeyState[key] = true;
    ReplayScreenInput();
    DrawReplayScreen();
  }
  // Five frames at 1x (one paused), 5 s on, a frame at 1x, 2x and 4x.
  EXPECT_EQ(CurrentReplay.step(), 5 + Replay::SeekSteps + 1 + 2 + 4);
  while (CurrentReplay.step() < CurrentReplay.steps() - 1) DrawReplayScreen();
  KeyState[VK_ESCAPE] = true;
  ReplayScreenInput();
  EXPECT_EQ(ScreenState, 2);
  EXPECT_EQ(ReadFile(ghostFile), ghostBytes);
  EXPECT_EQ(ReadFile(timesFile), timesBytes);
}

}  // namespace
