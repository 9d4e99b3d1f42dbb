// The race of two drawn headless: each half from its player's camera with the other's car, texts
// inside their half at half the size, who won in both, and a race alone drawn as before.
#include <gtest/gtest.h>

#include <utility>

#include "game/players.h"
#include "race/race_of_two.h"
#include "race_fixture.h"

namespace {

using race_testing::Colour, race_testing::Grey, race_testing::Magenta, race_testing::Yellow;
constexpr Colour White{255, 255, 255};
constexpr int Middle = 300;  // player two's half below this row, player one's above

class SplitScreenTest : public race_testing::RaceSceneTest {
 protected:
  void SetUp() override {
    RaceSceneTest::SetUp();
    useBoardModel(true);  // for both: GameSetup gave player two the first car
    start(PlayerInput::Keyboard);
  }
  void TearDown() override {
    start(PlayerInput::None);
    RaceSceneTest::TearDown();
  }
  void start(PlayerInput who) {
    Players[1].input = who;
    startRace(0, 0);
  }
  void drawFrame() {
    SpinAngle = 0.0f;  // the same turn of the headlines in every frame
    RaceSceneTest::drawFrame();
  }
  int count(Colour c, int y0, int y1) { return countColour(pixels, c, 0, y0, 800, y1); }
  // The lowest and highest rows holding a colour between rows y0 and y1.
  std::pair<int, int> rows(Colour c, int y0, int y1) {
    std::pair<int, int> r{600, -1};
    for (int y = y0; y < y1; ++y)
      if (count(c, y, y + 1) > 0) r = {std::min(r.first, y), y};
    return r;
  }
};

TEST_F(SplitScreenTest, EachHalfIsFromItsPlayersCameraWithTheOtherCarInIt) {
  Races[0].view = Race::ChaseView;
  Races[1].view = Race::DriverView;
  Races[1].player->rotation.y += 150.0f;  // player two's sky slides by 0.05 of its width
  drawFrame();
  EXPECT_NEAR(at(400, 290)[0], at(400, 590)[0] - 0.05 * 255, 4);
  // Player one's own car in the chase view, in their half alone.
  EXPECT_GT(count(Magenta, Middle, 600), 500);
  EXPECT_EQ(count(Magenta, 0, Middle), 0);
  // Driver's views, player two half a unit ahead: in player one's picture alone.
  Races[1].player->rotation.y -= 150.0f;
  Races[1].player->position.x += 0.5f;
  Races[0].view = Race::DriverView;
  drawFrame();
  EXPECT_GT(count(Magenta, Middle, 600), 200);
  EXPECT_EQ(count(Magenta, 0, Middle), 0);
}

TEST_F(SplitScreenTest, EachHalfsTextsStayInsideItAtHalfTheSizeAndSayWhoWonAtTheEnd) {
  start(PlayerInput::None);
  drawFrame();
  const int aloneInk = count(Yellow, 0, 600);  // "READY" of a race alone
  start(PlayerInput::Keyboard);
  drawFrame();
  for (int y0 : {0, Middle}) {  // a quarter of the ink, round the half's middle
    EXPECT_NEAR(count(Yellow, y0, y0 + Middle), aloneInk / 4.0, aloneInk / 10.0);
    const auto [low, high] = rows(Yellow, y0, y0 + Middle);
    EXPECT_NEAR((low + high) / 2, y0 + 150, 25);
  }
  // Running: the time and laps at the top of each half, clear of the line between them.
  calendar.advance(5);
  drawFrame();
  for (int y0 : {0, Middle}) {
    EXPECT_GT(rows(Grey, y0, y0 + Middle).first, y0 + 200);
    EXPECT_LT(rows(Grey, y0, y0 + Middle).second, y0 + Middle - 2);
  }
  // Player one done: their half shows the finish, player two's still the race; nobody won yet.
  const uint32_t road = std::exchange(TrackTable[0].roadList, 0);  // no white but texts
  Races[0].state = Race::Finished;
  drawFrame();
  EXPECT_EQ(count(Grey, Middle, 600), 0);
  EXPECT_GT(count(Yellow, Middle, 600), 300);
  EXPECT_EQ(count(Yellow, 0, Middle) + count(White, 0, 600), 0);
  EXPECT_GT(count(Grey, 0, Middle), 100);
  Races[1].state = Race::Crashed;
  drawFrame();
  // V's line once both are done, in player one's half alone.
  EXPECT_GT(count(Grey, Middle, 600), 200);
  EXPECT_EQ(count(Grey, 0, Middle), 0);
  for (int y0 : {0, Middle}) {  // "Player 1 wins" above each half's headline
    EXPECT_GT(count(White, y0, y0 + Middle), 100);
    EXPECT_GT(rows(White, y0, y0 + Middle).first, rows(Yellow, y0, y0 + Middle).second);
    EXPECT_LT(rows(White, y0, y0 + Middle).second, y0 + Middle - 2);
  }
  TrackTable[0].roadList = road;
}

TEST_F(SplitScreenTest, ARaceAloneIsDrawnAsBeforeARaceOfTwo) {
  start(PlayerInput::None);
  drawFrame();
  const auto alone = pixels;
  start(PlayerInput::Keyboard);
  drawFrame();
  EXPECT_NE(pixels, alone);
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  start(PlayerInput::None);
  drawFrame();
  EXPECT_EQ(pixels, alone);
}

}  // namespace
