// The ghost in whole races: an autopilot race recorded, kept through its file and replayed step
// by step beside the same driving, which it leaves exactly as it was; a crashed race keeps none.
#include <gtest/gtest.h>

#include <tuple>

#include "race/ghost_choice.h"
#include "race_fixture.h"
#include "records/ghost_share.h"
#include "records/ghost_store.h"
#include "records/records_file.h"

namespace {

using race_testing::PoseOf;
using race_testing::RaceTest;
using testing_support::DrivingPlan;

TEST_F(RaceTest, AutopilotRaceIsKeptAndReplayedStepByStepWithoutChangingTheRace) {
  for (int track = 0; track < 3; ++track) {
    SCOPED_TRACE(testing::Message() << "track " << track);
    startRace(0, track);
    RaceGhost& ghost = Races[0].ghost;
    EXPECT_FALSE(ghost.kept());
    const GhostPose* buffer = ghost.recorded().poses.data();
    const auto first = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
    ASSERT_EQ(first.state, Race::Finished);
    const GhostPath recorded = ghost.recorded();
    EXPECT_EQ(ghost.recorded().poses.data(), buffer);  // recording allocated nothing
    EXPECT_EQ(recorded.lapSteps.size(), static_cast<size_t>(TrackTable[track].laps));

    // The same driving with the ghost: the player at each step where the ghost is.
    startRace(0, track);
    ASSERT_TRUE(ghost.kept());
    EXPECT_EQ(*ghost.kept(), recorded);  // through the file
    int replayed = 0;
    const auto second =
        testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 30000, 60, [&] {
          if (ghost.steps() == 0) return;
          ASSERT_NE(ghost.pose(), nullptr);
          ASSERT_EQ(*ghost.pose(), PoseOf(*Races[0].player)) << ghost.steps();
          ++replayed;
        });
    EXPECT_EQ(replayed, recorded.steps());
    EXPECT_EQ(std::tie(second.frames, second.borderHits, second.health, second.raceTime),
              std::tie(first.frames, first.borderHits, first.health, first.raceTime));
    EXPECT_EQ(ghost.recorded(), recorded);
    EXPECT_EQ(ghost.raceDifference(), 0);
  }
}

TEST_F(RaceTest, ACrashedRaceKeepsNoGhost) {
  startRace(1, 0);
  ASSERT_EQ(testing_support::DriveRace(calendar, DrivingPlan::IntoWall).state, Race::Crashed);
  EXPECT_FALSE(std::filesystem::exists(GhostFile(TrackTable[0].name, CarRoster[1].name)));
}

// A friend's ghost a second slower on each lap: chosen on the track selection, raced, and the
// splits and the finish measured against it; the player's own ghost is kept all the same.
TEST_F(RaceTest, TheImportedGhostChosenIsTheOneRacedAndSplitAgainst) {
  startRace(0, 0);
  ASSERT_EQ(testing_support::DriveRace(calendar, DrivingPlan::FollowRoad).state, Race::Finished);
  GhostPath friendly = Races[0].ghost.recorded();
  for (int i = 0; i < FramesPerSecond; ++i) friendly.poses.push_back(friendly.poses.back());
  for (int32_t& step : friendly.lapSteps) step += FramesPerSecond;
  const std::string& track = TrackTable[0].name;
  const std::string& car = CarRoster[0].name;
  std::string error;
  ASSERT_TRUE(MakePrivateFolders(ImportedGhostFolder(), error));
  ASSERT_TRUE(WriteFileAtomically(ImportedGhostFolder() / "friend.ghost",
                                  FormatGhost(friendly, {"Max", track, car}), error));

  ChosenGhost.choose(track, car);
  ASSERT_TRUE(ChosenGhost.hasImported());
  EXPECT_FALSE(ChosenGhost.racesImported());
  ChosenGhost.switchSource();
  EXPECT_EQ(ChosenGhost.whose(), "Max");
  startRace(0, 0);
  EXPECT_EQ(Races[0].ghost.kept(), friendly);
  std::optional<int32_t> firstSplit;
  testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 30000, 60, [&] {
    if (!firstSplit) firstSplit = Races[0].ghost.split();
  });
  EXPECT_EQ(firstSplit, -FramesPerSecond);
  EXPECT_EQ(Races[0].ghost.raceDifference(), -FramesPerSecond);

  // Back to the player's own: the race just driven.
  ChosenGhost.switchSource();
  ChosenGhost.choose(track, car);
  EXPECT_EQ(ChosenGhost.ghost(), Races[0].ghost.recorded());
  ChosenGhost = GhostChoice();
}

}  // namespace
