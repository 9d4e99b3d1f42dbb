// Races on tracks read from files: the shipped tracks driven to the finish by the autopilot
// (their best times and ghosts under the track's name and hash: the races of two), the car on
// the road's height over a bridge, and laps that cannot be won by cutting across.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "content/track_files.h"
#include "race/race_autopilot.h"
#include "race_fixture.h"
#include "support/track_shapes.h"
#include "track/built_in_targets.h"
#include "track/file_tracks.h"
#include "track/medals.h"
#include "track/track_definitions.h"
#include "track/track_file.h"
#include "track/track_identity.h"

namespace race_testing {
namespace {

using testing_support::DrivingPlan;

class FileTrackRaceTest : public RaceTest {
 protected:
  void TearDown() override {
    TrackCount = BuiltInTrackCount;
    RaceTest::TearDown();
  }
  // Puts the file's track into the first slot after the built-in ones.
  Track& useTrack(const std::string& text) {
    const TrackFileReading reading = ParseTrackFile(text);
    EXPECT_TRUE(reading.good());
    Track& track = TrackTable[BuiltInTrackCount];
    SetTrackShape(track, reading.content);
    TrackCount = BuiltInTrackCount + 1;
    return track;
  }
};

TEST_F(FileTrackRaceTest, EveryShippedTrackAndTheReadmeExampleAreRacedToTheFinishOnTheRoad) {
  std::vector<content::TrackFileText> files = content::ShippedTrackFiles();
  // Its samples lie further apart than its road is wide: the road between them is road too.
  files.push_back({"README.md", testing_support::ReadmeExampleTrack()});
  for (const content::TrackFileText& file : files) {
    SCOPED_TRACE(file.file);
    const Track& track = useTrack(file.text);
    double highest = 0;
    for (const Vector3d& p : track.curve.points) highest = std::max(highest, p.y);
    startRace(0, BuiltInTrackCount);
    float carHighest = -1;
    float carOffRoad = 0;  // the largest distance in height between the car and its road
    const auto report =
        testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 60000, 60, [&] {
          const CarState& car = *Races[0].player;
          carHighest = std::max(carHighest, car.position.y);
          const Vector3d near = Races[0].nearestOnRoad();
          carOffRoad = std::max(carOffRoad, std::abs(car.position.y - 0.05f - float(near.y)));
        });
    EXPECT_EQ(report.state, Race::Finished);
    EXPECT_EQ(report.laps, track.laps);
    EXPECT_EQ(report.borderHits, 0);
    // The car rides 0.05 over the road wherever it climbs: near its highest point at the top.
    EXPECT_NEAR(carHighest, highest + 0.05, 0.3);
    EXPECT_LT(carOffRoad, 0.5f);
    std::cout << "[ time     ] " << track.name << ": " << report.raceTime << " s, "
              << report.runningFrames << " frames running, " << report.borderHits
              << " border hits\n";
    // The medals the generator wrote (the README's track has none: the race start gave it the
    // autopilot's) are the ones this race sets; the autopilot's own race on the track agrees.
    EXPECT_EQ(track.targets.medals, MedalsFromAutopilot(report.runningFrames / 60.0));
    EXPECT_EQ(AutopilotRaceSeconds(track, CarRoster[0]), report.runningFrames / 60.0);
  }
}

// The end-to-end test of the editor names the file it saved; run alone, there is none.
TEST_F(FileTrackRaceTest, TheTrackFileNamedByQuillonAutopilotTrackIsRacedToTheFinish) {
  const char* file = std::getenv("QUILLON_AUTOPILOT_TRACK");
  if (file == nullptr) GTEST_SKIP() << "QUILLON_AUTOPILOT_TRACK is not set";
  const Track& track = useTrack(testing_support::ReadFile(file));
  startRace(0, BuiltInTrackCount);
  const auto report = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad, 60000);
  EXPECT_EQ(report.state, Race::Finished);
  EXPECT_EQ(report.laps, track.laps);
  EXPECT_GT(report.health, 0.0f);
}

TEST_F(FileTrackRaceTest, TheBuiltInTracksMedalsAreThoseTheAutopilotsRaceSets) {
  const std::string text = content::BuiltInMedalsFile().text;
  for (int i = 0; i < BuiltInTrackCount; ++i) {
    startRace(0, i);
    const auto report = testing_support::DriveRace(calendar, DrivingPlan::FollowRoad);
    ASSERT_EQ(report.state, Race::Finished);
    EXPECT_EQ(BuiltInTrackTargets(text, BuiltInTrackName(i)).medals,
              MedalsFromAutopilot(report.runningFrames / 60.0))
        << BuiltInTrackName(i) << ": " << report.runningFrames << " frames running";
  }
}

TEST_F(FileTrackRaceTest, AnEditedTrackHasAnotherRecordsNameAndTheBuiltInOnesKeepTheirs) {
  const std::string text = content::ShippedTrackFiles()[0].text;
  const std::string before = TrackRecordsName(useTrack(text));
  std::string edited = text;
  edited.replace(edited.find("laps 2"), 6, "laps 3");
  const std::string after = TrackRecordsName(useTrack(edited));
  EXPECT_NE(before, after);
  EXPECT_EQ(before.rfind("Longshore #", 0), 0u);
  // Comments are not the race: the same track with one more comment keeps its name.
  EXPECT_EQ(TrackRecordsName(useTrack(text + "# more\n")), before);
  for (int i = 0; i < BuiltInTrackCount; ++i)
    EXPECT_EQ(TrackRecordsName(TrackTable[i]), TrackTable[i].name);
}

// Nearest points of a car that drives out to the first window, cuts straight across to the
// second and back to the start: both windows met, most of the line never driven.
class ShortcutLapTest : public LocalRaceTest {
 protected:
  ShortcutLapTest() { straightLine(481); }
  void cutAcross() {
    for (int i = 470; i < 481; ++i) passThrough({i % 480});
    for (int i = 0; i <= 190; i += 2) passThrough({i});
    for (int i = 300; i < 480; i += 2) passThrough({i});
    passThrough({0, 1, 2});
  }
};

TEST_F(ShortcutLapTest, ABuiltInTrackCountsTheCutButAFilesTrackDoesNot) {
  cutAcross();
  EXPECT_EQ(player.laps, 1);  // the checkpoints alone are passed by the cut
  player.laps = 0;
  track.fromFile = true;
  cutAcross();
  EXPECT_EQ(player.laps, 0);
  // Driven in order all the way round, the lap counts.
  for (int i = 3; i < 480; i += 2) passThrough({i});
  passThrough({0, 1});
  EXPECT_EQ(player.laps, 1);
}

TEST_F(ShortcutLapTest, AFilesLineOfAnyLengthCountsItsLapsButNotACutAcross) {
  // From the shortest line a file makes (one piece at 4 steps: 9 points) up.
  for (const int points : {9, 13, 21, 31, 33, 41, 481}) {
    SCOPED_TRACE(points);
    straightLine(points);
    track.fromFile = true;
    track.laps = 2;
    player.laps = 0;
    player.passedStretches = 0;
    race.state = Race::Running;
    // Half-way round and straight back to the start, twice: no lap.
    for (int lap = 0; lap < 2; ++lap) {
      for (int i = 0; i <= points / 2; ++i) passThrough({i});
      passThrough({points - 2, 0});
    }
    EXPECT_EQ(player.laps, 0);
    for (int lap = 0; lap < 2; ++lap) {
      for (int i = 0; i < points - 1; ++i) passThrough({i});
    }
    passThrough({0});
    EXPECT_EQ(player.laps, 2);
    EXPECT_EQ(race.state, Race::Finished);  // two laps, as the track has
  }
}

// Random smooth loops within every range a file may use: each is accepted, and driven round
// in order (its nearest segment passing along the line) it counts every lap to the finish.
TEST_F(ShortcutLapTest, RandomSmoothLoopsCanBeLapped) {
  for (uint32_t seed = 1; seed <= 60; ++seed) {
    SCOPED_TRACE(seed);
    const TrackFileReading reading = ParseTrackFile(testing_support::RandomLoopTrack(seed));
    ASSERT_TRUE(reading.good()) << reading.refusals[0].text;
    SetTrackShape(track, reading.content);
    player.laps = 0;
    player.passedStretches = 0;
    race.state = Race::Running;
    const int segments = static_cast<int>(track.curve.points.size()) - 1;
    for (int lap = 0; lap < track.laps && race.state == Race::Running; ++lap) {
      for (int i = 0; i < segments; ++i) passThrough({i});
    }
    passThrough({0});
    EXPECT_EQ(player.laps, track.laps);
    EXPECT_EQ(race.state, Race::Finished);
  }
}

}  // namespace
}  // namespace race_testing
