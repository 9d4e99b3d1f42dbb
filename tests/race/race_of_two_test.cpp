// Races of two: the grid and the shared countdown, each player's keys, pad, health and crash,
// whole races by two autopilots on every track with both times kept, and who won.
#include <gtest/gtest.h>

#include "content/models.h"
#include "content/track_files.h"
#include "game/action_input.h"
#include "game/players.h"
#include "platform/key_names.h"
#include "race/race_of_two.h"
#include "race_fixture.h"
#include "records/best_times.h"
#include "records/ghost_store.h"
#include "track/file_tracks.h"
#include "track/track_definitions.h"
#include "track/track_file.h"
#include "track/track_identity.h"

namespace race_testing {
namespace {

int Key(const char* name) {
  return platform::VirtualKeyOfScancode(platform::ScancodeFromName(name));
}

class RaceOfTwoTest : public RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    GameControls(2).reset();  // player two's own keys: W, S, A, D, Left Shift, Tab and Q
    Players[1].input = PlayerInput::Keyboard;
  }
  void TearDown() override {
    Players[1].input = PlayerInput::None;
    GameControls(2).reset();
    EndRacesBeside();
    TrackCount = BuiltInTrackCount;
    RaceTest::TearDown();
  }
  // Track i: the built-in ones, then each shipped track file in the slot after them.
  int track(size_t i) {
    if (i < 3) return int(i);
    SetTrackShape(TrackTable[BuiltInTrackCount], ParseTrackFile(files[i - 3].text).content);
    TrackCount = BuiltInTrackCount + 1;
    return BuiltInTrackCount;
  }
  void startRaceOfTwo(int carOne, int carTwo, int track) {
    Players[1].carIndex = static_cast<int16_t>(carTwo);
    startRace(carOne, track);
  }
  CarState& one() { return *Races[0].player; }
  CarState& two() { return *Races[1].player; }
  const std::vector<content::TrackFileText> files = content::ShippedTrackFiles();
};

TEST_F(RaceOfTwoTest, BothStartSideBySideOnTheRoadClearOfTheBannerAndCountDownTogether) {
  // At the start a car's model x lies along world z, its z along x; the banner's z along x.
  float carHalfWidth = 0, carLength = 0, bannerDepth = 0;
  for (const auto& car : {content::SmileCar(), content::PizzaCar(), content::FlyingTaco()})
    for (const auto& v : car.mesh.vertices)
      carHalfWidth = std::max(carHalfWidth, std::abs(v.position[0]) * 0.0025f),
      carLength = std::max(carLength, std::abs(v.position[2]) * 0.0025f);
  for (int i = 0; i < 3; ++i)
    for (const auto& v : content::StartBanner(i).mesh.vertices)
      bannerDepth = std::max(bannerDepth, std::abs(v.position[2]) * 0.01f);
  // Apart on the narrowest road a track file may have; before the banner.
  EXPECT_GT(SecondGridOffset(0.2), 2 * carHalfWidth);
  EXPECT_LT(-2.3f + carLength, -bannerDepth);
  for (size_t i = 0; i < 3 + files.size(); ++i) {
    const int t = track(i);
    SCOPED_TRACE(TrackTable[t].name);
    startRaceOfTwo(0, 2, t);
    EXPECT_EQ(std::tuple(one().position.x, one().position.z, two().position.x, Races[0].rival,
                         Races[1].rival),
              std::tuple(-2.3f, 0, -2.3f, &two(), &one()));
    EXPECT_FLOAT_EQ(two().position.z, float(SecondGridOffset(TrackTable[t].halfWidth)));
    for (const char* label : {"READY", "3", "2", "1", "GO"}) {
      StepRaceOfTwo();
      EXPECT_EQ(std::tuple(Races[0].label, Races[1].label, Races[1].state),
                std::tuple(label, label, Race::Ready));
      calendar.advance();
    }
    StepRaceOfTwo();  // both run from this frame; player two on the road takes no hit
    EXPECT_EQ(std::tuple(Races[1].state, Races[1].health(), Races[1].runStart),
              std::tuple(Race::Running, 18.0f, Races[0].runStart));
  }
}

TEST_F(RaceOfTwoTest, EachPlayersKeysPadHealthAndCrashAreTheirOwnAndTheRaceKeysPlayerOnes) {
  startRaceOfTwo(1, 1, 0);  // the same roster car for both
  calendar.advance(5);
  ScreenState = screen::Race;
  Races[0].view = Races[1].view = Race::DriverView;
  KeyState[Key("W")] = KeyState[Key("A")] = KeyState[Key("Q")] = KeyState[Key("Left Shift")] = true;
  RaceScreenInput();
  EXPECT_NE(two().force.x, 0);
  EXPECT_GT(two().torque.y, 0);
  EXPECT_EQ(two().nitro, 4);
  EXPECT_EQ(std::tuple(one().force.x, one().torque.y, one().nitro), std::tuple(0, 0, 5));
  EXPECT_EQ(std::tuple(Races[1].view, Races[0].view),
            std::tuple(Race::ChaseView, Race::DriverView));
  // The second pad's Y and accelerate; unplugged (keys released) nothing pauses, the car coasts.
  ClearKeyState();
  KeyState[PadKeyOf(VK_GAMEPAD_Y, 2)] = KeyState[PadKeyOf(VK_GAMEPAD_A, 2)] = true;
  for (int frame = 0; frame < 120; ++frame) StepRaceOfTwo(), RaceScreenInput();
  EXPECT_EQ(std::tuple(Races[1].view, Races[0].view),
            std::tuple(Race::DriverView, Race::DriverView));
  const double speed = std::hypot(two().velocity.x, two().velocity.z);
  KeyState[PadKeyOf(VK_GAMEPAD_A, 2)] = false;
  for (int frame = 0; frame < 600; ++frame) StepRaceOfTwo(), RaceScreenInput();
  EXPECT_GT(speed, 0.005);
  EXPECT_LT(std::hypot(two().velocity.x, two().velocity.z), speed * 0.05);
  EXPECT_EQ(std::tuple(Races[1].state, ScreenState), std::tuple(Race::Running, screen::Race));
  Races[0].state = Race::Finished;  // V waits until both are done
  KeyState['V'] = true;
  RaceScreenInput();
  EXPECT_EQ(ScreenState, 3);
  KeyState['V'] = false;
  Races[0].state = Race::Running;
  // Into the wall: 4.5 health crashes at the 20th hit, as alone; player one loses nothing.
  for (int frame = 0; frame < 3000 && !RaceDone(Races[1]); ++frame) {
    StepRaceOfTwo();
    KeyState[Key("W")] = KeyState[Key("A")] = true;
    RaceScreenInput();
  }
  EXPECT_EQ(Races[1].state, Race::Crashed);
  EXPECT_LT(std::abs(Races[1].health() + 0.1f), 1e-4f);
  EXPECT_EQ(std::tuple(CarRoster[1].health, Races[0].state), std::tuple(4.5f, Race::Running));
  KeyState['R'] = true;  // restarts both together; Escape leaves
  RaceScreenInput();
  EXPECT_EQ(std::tuple(Races[0].state, Races[1].state), std::tuple(Race::Ready, Race::Ready));
  EXPECT_EQ(std::tuple(two().position.x, Races[1].startTime),
            std::tuple(-2.3f, Races[0].startTime));
  KeyState[VK_ESCAPE] = true;
  RaceScreenInput();
  EXPECT_EQ(ScreenState, 0);
}

TEST_F(RaceOfTwoTest, TwoAutopilotsFinishEveryTrackAndBothTimesAndGhostsAreKept) {
  for (size_t i = 0; i < 3 + files.size(); ++i) {
    const int t = track(i), carOne = int(i % 3), carTwo = int((i + 1) % 3);
    SCOPED_TRACE(testing::Message() << TrackTable[t].name << ", cars " << carOne << ", " << carTwo);
    startRaceOfTwo(carOne, carTwo, t);
    const float healthOne = CarRoster[carOne].health, healthTwo = CarRoster[carTwo].health;
    const auto report = testing_support::DriveRaceOfTwo(calendar);
    for (const auto* car : {&report.one, &report.two}) {
      EXPECT_EQ(car->state, Race::Finished);
      EXPECT_EQ(car->laps, TrackTable[t].laps);
      EXPECT_GT(car->raceTime, 20);
    }
    EXPECT_NEAR(report.one.health, healthOne - 0.23f * report.one.borderHits, 1e-3f);
    EXPECT_NEAR(report.two.health, healthTwo - 0.23f * report.two.borderHits, 1e-3f);  // own hits
    const std::string name = TrackRecordsName(TrackTable[t]);
    for (auto [car, time] :
         {std::pair{carOne, report.one.raceTime}, {carTwo, report.two.raceTime}}) {
      EXPECT_EQ(GameBestTimes.best(name, CarRoster[car].name), time);
      EXPECT_TRUE(std::filesystem::exists(GhostFile(name, CarRoster[car].name)));
    }
  }
  EXPECT_EQ(BestTimes().table().races().size(), 2 * (3 + files.size()));
  // Only player one races the kept ghost (and has lap splits).
  startRaceOfTwo(0, 0, 0);
  EXPECT_TRUE(Races[0].ghost.kept());
  EXPECT_FALSE(Races[1].ghost.kept());
}

TEST(OutcomeTest, AFinishBeatsACrashAndTheFewerStepsWin) {
  Race one, two;
  for (Race* race : {&one, &two}) race->player = &race->cars.emplace_back();
  for (int i = 0; i < 500; ++i) one.ghost.afterStep(*one.player);
  one.state = Race::Finished;
  EXPECT_EQ(OutcomeOf(one, two), Outcome::Open);  // player two still racing
  two.state = Race::Crashed;
  EXPECT_EQ(OutcomeOf(two, one), Outcome::PlayerTwoWins);
  for (int i = 0; i < 500; ++i) two.ghost.afterStep(*two.player);
  two.state = Race::Finished;
  EXPECT_EQ(OutcomeOf(one, two), Outcome::DeadHeat);  // the same step
  two.ghost.afterStep(*two.player);
  EXPECT_EQ(OutcomeOf(one, two), Outcome::PlayerOneWins);
  one.state = two.state = Race::Crashed;
  EXPECT_STREQ(OutcomeText(OutcomeOf(one, two)), "Nobody wins");
}

}  // namespace
}  // namespace race_testing
