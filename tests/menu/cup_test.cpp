// The cup as a run of races driven by the autopilot over every track: times, totals and the kept
// best; leaving in the middle keeps each finished race and nothing else.
#include "menu/cup.h"

#include <gtest/gtest.h>

#include "game/action_input.h"
#include "menu/track_selection.h"
#include "platform/key_names.h"
#include "race/race_fixture.h"
#include "records/best_times.h"
#include "track/track_identity.h"

namespace {

using testing_support::DrivingPlan;

class CupTest : public race_testing::RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    Players[0].carIndex = 0;
    GameBestTimes = BestTimes();
  }
  void TearDown() override {
    Players[1].input = PlayerInput::None;
    GameControls(2).reset();
    EndRacesBeside();
    GameBestTimes = BestTimes();
    RaceTest::TearDown();
  }
  // Drives the current track to its end and shows its closing line until the cup moves on.
  testing_support::AutopilotReport driveTrack(DrivingPlan plan = DrivingPlan::FollowRoad) {
    const auto report = testing_support::DriveRace(calendar, plan);
    for (int i = 0;
         i <= CupClosingFrames && ScreenState == screen::Cup && Races[0].state != Race::Ready; ++i)
      DrawCupRace();
    return report;
  }
  std::optional<int64_t> best(int slot) {
    return GameBestTimes.best(TrackRecordsName(TrackTable[slot]), CarRoster[0].name);
  }
  void press(int key) {
    KeyState[key] = true;
    CupRaceInput();
    KeyState[key] = false;
  }
};

TEST_F(CupTest, EveryTrackIsRacedInTurnAndTheBestTotalIsKept) {
  int64_t total = 0;
  for (int run = 0; run < 2; ++run) {
    KeyState[int('K')] = true;
    TrackSelectionInput();
    ASSERT_EQ(ScreenState, screen::Cup);
    ASSERT_EQ(Cup.tracks.size(), size_t(LastSelectableTrack() + 1));
    for (size_t i = 0; i < Cup.tracks.size(); ++i) {
      ASSERT_EQ(SelectedTrackIndex, Cup.tracks[i]);
      const auto report = driveTrack();
      ASSERT_EQ(report.state, Race::Finished);
      EXPECT_EQ(Cup.times[i], report.raceTime);
      EXPECT_EQ(best(Cup.tracks[i]), report.raceTime);  // kept as any race's
    }
    EXPECT_EQ(ScreenState, screen::CupResults);
    DrawCupResults();
    int64_t sum = 0;
    for (int64_t t : Cup.times) sum += t;
    if (run == 0) {
      total = sum;
      EXPECT_TRUE(Cup.newBest && !Cup.bestBefore);
    } else {  // the same times again: the first cup stays the best, shown with its splits
      EXPECT_TRUE(!Cup.newBest && Cup.bestBefore && Cup.bestBefore->total() == total);
    }
    const auto kept = BestCup(CarRoster[0].name, CupTracksKey({"Sunny", "BlueSky", "Yello"}));
    EXPECT_TRUE(kept && kept->total() == total && kept->times == Cup.times);
    KeyState[VK_RETURN] = true;
    CupResultsInput();
    EXPECT_EQ(ScreenState, screen::TrackSelection);
  }
}

TEST_F(CupTest, LeavingKeepsTheFinishedRacesOnlyAndACrashEndsTheCup) {
  StartCup();
  press('R');  // before "GO": the same track again, at no cost
  EXPECT_TRUE(ScreenState == screen::Cup && Races[0].state == Race::Ready && Cup.times.empty());
  driveTrack();
  ASSERT_EQ(Cup.times.size(), 1u);
  ASSERT_EQ(SelectedTrackIndex, Cup.tracks[1]);
  press(VK_ESCAPE);
  press('N');  // stays
  EXPECT_TRUE(ScreenState == screen::Cup && !Cup.asking);
  press(VK_ESCAPE);
  press('Y');
  EXPECT_EQ(ScreenState, screen::TrackSelection);
  EXPECT_TRUE(best(Cup.tracks[0]) && !best(Cup.tracks[1]));
  EXPECT_FALSE(BestCup(CarRoster[0].name, CupTracksKey({"Sunny", "BlueSky", "Yello"})));

  StartCup();
  EXPECT_EQ(driveTrack(DrivingPlan::IntoWall).state, Race::Crashed);
  EXPECT_TRUE(ScreenState == screen::CupResults && Cup.crashed && Cup.times.empty());
}

TEST_F(CupTest, TwoPlayersRaceEveryTrackEachWithItsWinnerAndTheLowerTotalWins) {
  const char* keys[] = {"W", "S", "A", "D"};
  for (int i = 0; i < 4; ++i)
    ASSERT_EQ(GameControls(2).setKey(Action(i), 0, platform::ScancodeFromName(keys[i])),
              std::nullopt);
  Players[1].input = PlayerInput::Keyboard;
  Players[1].carIndex = 2;
  StartCup();
  ASSERT_TRUE(Cup.two);
  int64_t one = 0, two = 0;
  for (size_t i = 0; i < Cup.tracks.size(); ++i) {
    const auto report = testing_support::DriveRaceOfTwo(calendar);
    const Outcome outcome = OutcomeOf(Races[0], Races[1]);
    for (int f = 0; f <= CupClosingFrames && Races[0].state != Race::Ready; ++f) DrawCupRace();
    ASSERT_EQ(Cup.timesTwo.size(), i + 1);
    EXPECT_TRUE(Cup.times[i] == report.one.raceTime && Cup.timesTwo[i] == report.two.raceTime);
    EXPECT_EQ(Cup.winners[i], outcome);
    one += report.one.raceTime, two += report.two.raceTime;
  }
  EXPECT_EQ(ScreenState, screen::CupResults);
  EXPECT_EQ(CupWinner(Cup), one < two ? Outcome::PlayerOneWins : Outcome::PlayerTwoWins);
  EXPECT_EQ(BestCup(CarRoster[2].name, CupTracksKey({"Sunny", "BlueSky", "Yello"}))->total(), two);
  DrawCupResults();
}

}  // namespace
