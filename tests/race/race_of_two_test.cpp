// Races of two: both cars on the grid side by side, one countdown, each player's keys, pad,
// health, laps and finish their own, whole races by two autopilots on every track with both
// times kept, and who won.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "content/models.h"
#include "content/track_files.h"
#include "game/controls.h"
#include "game/players.h"
#include "platform/key_names.h"
#include "race/race_of_two.h"
#include "race/race_screen.h"
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
    // Player two's own keys, whatever the defaults of their controls.
    const std::pair<Action, const char*> keys[] = {
        {Action::Accelerate, "W"}, {Action::Brake, "S"},          {Action::SteerLeft, "A"},
        {Action::SteerRight, "D"}, {Action::Nitro, "Left Shift"}, {Action::DriverView, "Tab"},
        {Action::ChaseView, "Q"}};
    for (const auto& [action, name] : keys)
      ASSERT_EQ(GameControls(2).setKey(action, 0, platform::ScancodeFromName(name)), std::nullopt);
    SecondPlayerJoined = SecondPlayer::Keyboard;
  }
  void TearDown() override {
    SecondPlayerJoined = SecondPlayer::None;
    GameControls(2).reset();
    EndSecondRace();
    TrackCount = BuiltInTrackCount;
    RaceTest::TearDown();
  }
  void startRaceOfTwo(int carOne, int carTwo, int track) {
    SecondCarIndex = static_cast<int16_t>(carTwo);
    SecondCar = &CarRoster[carTwo];
    startRace(carOne, track);
  }
  // Past the countdown: both running.
  void run() {
    calendar.advance(5);
    StepRaceOfTwo();
  }
  // Puts a track file into the first slot after the built-in ones.
  int useTrackFile(const std::string& text) {
    const TrackFileReading reading = ParseTrackFile(text);
    EXPECT_TRUE(reading.good());
    SetTrackShape(TrackTable[BuiltInTrackCount], reading.content);
    TrackCount = BuiltInTrackCount + 1;
    return BuiltInTrackCount;
  }
  CarState& one() { return *CurrentRace.player; }
  CarState& two() { return *SecondRace.player; }
};

TEST_F(RaceOfTwoTest, BothStartSideBySideAndCountDownTogether) {
  startRaceOfTwo(0, 2, 1);
  ASSERT_TRUE(RaceOfTwo());
  EXPECT_TRUE(two().car == &CarRoster[2] && SecondRace.track == &TrackTable[1]);
  // Player one exactly where a race alone starts; player two a quarter unit to their right.
  EXPECT_TRUE(one().position.x == -2.3f && one().position.y == 0.05f && one().position.z == 0);
  EXPECT_TRUE(two().position.x == -2.3f && two().position.y == 0.05f);
  EXPECT_FLOAT_EQ(two().position.z, 0.25f);
  EXPECT_TRUE(one().rotation.y == -90.0f && two().rotation.y == -90.0f);
  EXPECT_TRUE(CurrentRace.rival == &two() && SecondRace.rival == &one());
  EXPECT_EQ(SecondRace.health(), 18.0f);
  EXPECT_EQ(SecondRace.startTime, CurrentRace.startTime);
  const char* labels[] = {"READY", "3", "2", "1", "GO"};
  for (const char* label : labels) {
    for (int frame = 0; frame < 3; ++frame) {
      StepRaceOfTwo();
      EXPECT_TRUE(CurrentRace.label == label && SecondRace.label == label);
      EXPECT_TRUE(CurrentRace.state == Race::Ready && SecondRace.state == Race::Ready);
    }
    calendar.advance();
  }
  StepRaceOfTwo();
  EXPECT_TRUE(CurrentRace.state == Race::Running && SecondRace.state == Race::Running);
  EXPECT_EQ(SecondRace.runStart, CurrentRace.runStart);

  // Alone again: no second race, no other car in the picture.
  SecondPlayerJoined = SecondPlayer::None;
  startRace(0, 1);
  EXPECT_FALSE(RaceOfTwo());
  EXPECT_EQ(CurrentRace.rival, nullptr);
}

TEST_F(RaceOfTwoTest, TheGridKeepsBothCarsOnTheRoadApartAndClearOfTheBanner) {
  // The cars' extents across (model x) and along (model z), in world units: at the start
  // heading a model's x lies along -z of the world and its z along +x.
  struct Extent {
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
  };
  auto extentOf = [](const formats::Ms3dMesh& mesh, float scale) {
    Extent e;
    for (const auto& v : mesh.vertices) {
      e.minX = std::min(e.minX, v.position[0] * scale),
      e.maxX = std::max(e.maxX, v.position[0] * scale);
      e.minZ = std::min(e.minZ, v.position[2] * scale),
      e.maxZ = std::max(e.maxZ, v.position[2] * scale);
    }
    return e;
  };
  const Extent cars[3] = {extentOf(content::SmileCar().mesh, 0.0025f),
                          extentOf(content::PizzaCar().mesh, 0.0025f),
                          extentOf(content::FlyingTaco().mesh, 0.0025f)};
  // Player one occupies world z from -maxX1 to -minX1, player two from offset - maxX2 on.
  auto apart = [&](double offset) {
    for (const Extent& a : cars)
      for (const Extent& b : cars)
        if (offset - b.maxX <= -a.minX) return false;
    return true;
  };
  EXPECT_TRUE(apart(SecondGridOffset(0.2)));  // the narrowest road a track file may have
  EXPECT_TRUE(apart(SecondGridOffset(0.7)));

  const auto files = content::ShippedTrackFiles();
  for (size_t i = 0; i < 3 + files.size(); ++i) {
    const int track = i < 3 ? int(i) : useTrackFile(files[i - 3].text);
    SCOPED_TRACE(TrackTable[track].name);
    startRaceOfTwo(1, 2, track);
    run();
    // On the road: the border test finds nothing to do.
    SecondRace.findNearestPoint();
    const Vector3d& near = TrackTable[track].curve.points[SecondRace.nearestIndex];
    const double distance = std::hypot(two().position.x - near.x, two().position.z - near.z);
    EXPECT_LT(distance, TrackTable[track].halfWidth - 0.07 - 0.04);
    SecondRace.checkBorder();
    EXPECT_EQ(SecondRace.health(), 18.0f);
    // The banner stands round x 0 (its model's z along -x of the world, at a hundredth); both
    // cars end well before it.
    const Extent banner = extentOf(content::StartBanner(int(i % 3)).mesh, 0.01f);
    for (const Extent& car : cars) EXPECT_LT(two().position.x + car.maxZ, -banner.maxZ);
  }
}

TEST_F(RaceOfTwoTest, EachPlayersKeysAndPadDriveOnlyTheirOwnCar) {
  startRaceOfTwo(0, 0, 0);
  run();
  KeyState[Key("W")] = KeyState[Key("A")] = true;
  RaceScreenInput();
  EXPECT_GT(two().torque.y, 0.0f);
  EXPECT_NE(two().force.x, 0.0f);
  EXPECT_TRUE(one().force.x == 0.0f && one().torque.y == 0.0f);
  ClearKeyState();
  KeyState[VK_UP] = true;
  const float twoForce = two().force.x;
  RaceScreenInput();
  EXPECT_NE(one().force.x, 0.0f);
  EXPECT_EQ(two().force.x, twoForce);
  ClearKeyState();

  // Views and nitro are each player's own.
  CurrentRace.view = SecondRace.view = Race::DriverView;
  KeyState[Key("Q")] = KeyState[Key("Left Shift")] = true;
  RaceScreenInput();
  EXPECT_TRUE(SecondRace.view == Race::ChaseView && CurrentRace.view == Race::DriverView);
  EXPECT_TRUE(two().nitro == 4 && one().nitro == 5);
  KeyState[Key("Tab")] = true;
  RaceScreenInput();
  EXPECT_EQ(SecondRace.view, Race::DriverView);
  // The second pad's keys: its Y switches player two's view, not player one's.
  KeyState[PadKeyOf(VK_GAMEPAD_Y, 2)] = true;
  RaceScreenInput();
  EXPECT_TRUE(SecondRace.view == Race::ChaseView && CurrentRace.view == Race::DriverView);
  EXPECT_FALSE(KeyState[PadKeyOf(VK_GAMEPAD_Y, 2)]);

  // The second pad's accelerate held, then the pad unplugged (its keys released): nothing
  // pauses, player two's car coasts to a stop, player one drives on.
  KeyState[PadKeyOf(VK_GAMEPAD_A, 2)] = true;
  for (int frame = 0; frame < 120; ++frame) StepRaceOfTwo(), RaceScreenInput();
  const double speed = std::hypot(two().velocity.x, two().velocity.z);
  EXPECT_GT(speed, 0.005);
  KeyState[PadKeyOf(VK_GAMEPAD_A, 2)] = false;
  double last = speed;
  const float oneAt = one().position.x;
  for (int frame = 0; frame < 600; ++frame) {
    KeyState[VK_UP] = frame < 60;
    StepRaceOfTwo();
    RaceScreenInput();
    const double now = std::hypot(two().velocity.x, two().velocity.z);
    if (frame > 10) {
      ASSERT_LT(now, last + 1e-9) << frame;
    }
    last = now;
  }
  EXPECT_LT(last, speed * 0.05);
  EXPECT_GT(one().position.x - oneAt, 0.5f);
  EXPECT_EQ(SecondRace.state, Race::Running);
  EXPECT_EQ(ScreenState, 3);
}

TEST_F(RaceOfTwoTest, EscapeLeavesAndRestartRestartsBothButPlayerTwoHasNeither) {
  startRaceOfTwo(1, 2, 2);
  run();
  ScreenState = 3;
  two().position.x = 3.0f;
  one().position.x = 4.0f;
  // Player two's bindings of the race's own keys do nothing for them.
  GameControls(2).setKey(Action::Restart, 0, platform::ScancodeFromName("T"));
  KeyState[Key("T")] = true;
  RaceScreenInput();
  EXPECT_TRUE(SecondRace.state == Race::Running && two().position.x == 3.0f);
  ClearKeyState();
  KeyState['R'] = true;
  RaceScreenInput();
  EXPECT_TRUE(CurrentRace.state == Race::Ready && SecondRace.state == Race::Ready);
  EXPECT_TRUE(one().position.x == -2.3f && two().position.x == -2.3f && two().laps == 0);
  EXPECT_TRUE(two().car == &CarRoster[2] && SecondRace.startTime == CurrentRace.startTime);
  KeyState[VK_ESCAPE] = true;
  RaceScreenInput();
  EXPECT_EQ(ScreenState, 0);
}

TEST_F(RaceOfTwoTest, OnTheSameCarEachPlayerHasTheirOwnHealthAndCrash) {
  startRaceOfTwo(1, 1, 0);
  run();
  // Player two steers into the wall: 4.5 health at 0.23 a hit crashes at the 20th, as alone.
  int hits = 0;
  for (int frame = 0; frame < 3000 && SecondRace.state == Race::Running; ++frame) {
    const float before = SecondRace.health();
    StepRaceOfTwo();
    if (SecondRace.health() < before) ++hits;
    KeyState[Key("W")] = KeyState[Key("A")] = true;
    RaceScreenInput();
  }
  EXPECT_EQ(SecondRace.state, Race::Crashed);
  EXPECT_EQ(hits, 20);
  EXPECT_LT(SecondRace.health(), 0.0f);
  // Player one, on the same roster car, has lost nothing and races on.
  EXPECT_EQ(CarRoster[1].health, 4.5f);
  EXPECT_EQ(CurrentRace.health(), 4.5f);
  EXPECT_EQ(CurrentRace.state, Race::Running);
  EXPECT_EQ(OutcomeOf(CurrentRace, SecondRace), Outcome::Open);
}

TEST_F(RaceOfTwoTest, TwoAutopilotsFinishEveryTrackAndBothTimesAreKept) {
  const auto files = content::ShippedTrackFiles();
  for (size_t i = 0; i < 3 + files.size(); ++i) {
    const int track = i < 3 ? int(i) : useTrackFile(files[i - 3].text);
    const int carOne = int(i % 3), carTwo = int((i + 1) % 3);
    SCOPED_TRACE(testing::Message()
                 << TrackTable[track].name << ", cars " << carOne << " and " << carTwo);
    startRaceOfTwo(carOne, carTwo, track);
    const float healthOne = CarRoster[carOne].health, healthTwo = CarRoster[carTwo].health;
    const auto report = testing_support::DriveRaceOfTwo(calendar);
    for (const auto* car : {&report.one, &report.two}) {
      EXPECT_EQ(car->state, Race::Finished);
      EXPECT_EQ(car->laps, TrackTable[track].laps);
      EXPECT_GT(car->health, 0.0f);
      EXPECT_GT(car->raceTime, 20);
      std::cout << "[ time     ] " << car->raceTime << " s, " << car->frames << " frames, "
                << car->borderHits << " hits\n";
    }
    // Each car paid for its own hits only.
    EXPECT_NEAR(report.one.health, healthOne - 0.23f * report.one.borderHits, 1e-3f);
    EXPECT_NEAR(report.two.health, healthTwo - 0.23f * report.two.borderHits, 1e-3f);
    EXPECT_NE(OutcomeOf(CurrentRace, SecondRace), Outcome::Open);
    const std::string name = TrackRecordsName(TrackTable[track]);
    EXPECT_EQ(GameBestTimes.best(name, CarRoster[carOne].name), report.one.raceTime);
    EXPECT_EQ(GameBestTimes.best(name, CarRoster[carTwo].name), report.two.raceTime);
    EXPECT_TRUE(CurrentRace.newBestTime && SecondRace.newBestTime);
    // Each first finish of its track and car keeps that player's ghost.
    EXPECT_TRUE(std::filesystem::exists(GhostFile(name, CarRoster[carOne].name)));
    EXPECT_TRUE(std::filesystem::exists(GhostFile(name, CarRoster[carTwo].name)));
  }
  EXPECT_EQ(BestTimes().table().races().size(), 2 * (3 + files.size()));
}

TEST_F(RaceOfTwoTest, TheSameCarRacedByBothKeepsBothTimesAndOnlyPlayerOneRacesTheGhost) {
  startRaceOfTwo(0, 0, 0);
  const auto first = testing_support::DriveRaceOfTwo(calendar);
  ASSERT_TRUE(first.one.state == Race::Finished && first.two.state == Race::Finished);
  EXPECT_EQ(BestTimes().table().races().size(), 2u);
  EXPECT_EQ(GameBestTimes.best(TrackTable[0].name, CarRoster[0].name),
            std::min(first.one.raceTime, first.two.raceTime));
  // The next race: player one races the kept ghost, player two none and no splits.
  startRaceOfTwo(0, 0, 0);
  EXPECT_TRUE(CurrentRace.ghost.kept().has_value());
  EXPECT_FALSE(SecondRace.ghost.kept().has_value());
  EXPECT_EQ(SecondRace.ghost.pose(), nullptr);
}

TEST_F(RaceOfTwoTest, TheReplayWaitsUntilBothAreDone) {
  startRaceOfTwo(0, 1, 0);
  run();
  ScreenState = 3;
  CurrentRace.state = Race::Finished;
  KeyState['V'] = true;
  RaceScreenInput();
  EXPECT_EQ(ScreenState, 3);  // player two still races
  SecondRace.state = Race::Crashed;
  RaceScreenInput();
  EXPECT_NE(ScreenState, 3);
}

class OutcomeTest : public ::testing::Test {
 protected:
  OutcomeTest() {
    for (Race* race : {&one, &two}) {
      race->cars.assign(1, CarState{});
      race->player = &race->cars.front();
    }
  }
  void finish(Race& race, int steps) {
    for (int i = 0; i < steps; ++i) race.ghost.afterStep(*race.player);
    race.state = Race::Finished;
  }
  Race one, two;
};

TEST_F(OutcomeTest, AFinishBeatsACrashAndTheFewerStepsWin) {
  EXPECT_EQ(OutcomeOf(one, two), Outcome::Open);
  finish(one, 500);
  EXPECT_EQ(OutcomeOf(one, two), Outcome::Open);  // player two still racing
  two.state = Race::Crashed;
  EXPECT_EQ(OutcomeOf(one, two), Outcome::PlayerOneWins);
  EXPECT_EQ(OutcomeOf(two, one), Outcome::PlayerTwoWins);
  finish(two, 499);
  EXPECT_EQ(OutcomeOf(one, two), Outcome::PlayerTwoWins);
  finish(one, 0);
  finish(two, 1);
  EXPECT_EQ(OutcomeOf(one, two), Outcome::DeadHeat);
  one.state = two.state = Race::Crashed;
  EXPECT_EQ(OutcomeOf(one, two), Outcome::NobodyWins);
  EXPECT_STREQ(OutcomeText(Outcome::PlayerOneWins), "Player 1 wins");
  EXPECT_STREQ(OutcomeText(Outcome::PlayerTwoWins), "Player 2 wins");
  EXPECT_STREQ(OutcomeText(Outcome::NobodyWins), "Nobody wins");
  EXPECT_STREQ(OutcomeText(Outcome::Open), "");
}

}  // namespace
}  // namespace race_testing
