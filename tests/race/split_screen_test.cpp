// The race of two in the headless context: each half of the window is its player's race from
// its own camera with the other's car in it, each half's texts inside it at half the size, the
// line of who won in both at the end, and a race alone drawn as before afterwards.
#include <gtest/gtest.h>

#include "game/players.h"
#include "platform/gl_context_generation.h"
#include "race/race_of_two.h"
#include "race/race_screen.h"
#include "race_fixture.h"

namespace {

using Colour = std::array<int, 3>;
constexpr Colour Yellow{255, 255, 0}, Grey{204, 204, 204}, TimeGreen{77, 255, 179},
    Magenta{255, 0, 255}, White{255, 255, 255};
// Rows of the window (from the bottom): player two's half below, player one's above.
constexpr int Middle = 300;

struct Box {
  int y0 = 600, y1 = -1, found = 0;
};

class SplitScreenTest : public race_testing::RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    useGameProjection();
    SpinAngle = 0.0f;
    // A sky over a dark blue base that is a ramp along s, and a flat magenta board for the car.
    unsigned char texels[256][3];
    for (int i = 0; i < 256; ++i) texels[i][0] = i, texels[i][1] = 255 - i, texels[i][2] = 64;
    glGenTextures(1, &sky);
    glBindTexture(GL_TEXTURE_2D, sky);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    Model& model = CarRoster[0].model;
    savedModel = {model.displayList, model.displayListGeneration};
    model.displayList = board = glGenLists(1);
    model.displayListGeneration = platform::GlContextGeneration();
    glNewList(board, GL_COMPILE);
    glColor3ub(255, 0, 255);
    glRectf(-8.0f, 0.0f, 8.0f, 10.0f);
    glEndList();
    SecondPlayerJoined = SecondPlayer::Keyboard;
    SecondCar = &CarRoster[0];
    start();
  }
  void TearDown() override {
    SecondPlayerJoined = SecondPlayer::None;
    EndSecondRace();
    glDeleteTextures(1, &sky);
    TrackTable[0].skyTexture = 0;
    CarRoster[0].model.displayList = savedModel[0];
    CarRoster[0].model.displayListGeneration = savedModel[1];
    glDeleteLists(board, 1);
    RaceTest::TearDown();
  }
  void start() {
    startRace(0, 0);
    TrackTable[0].skyTexture = sky;
    TrackTable[0].skyTextureGeneration = platform::GlContextGeneration();
  }
  void drawFrame() {
    SpinAngle = 0.0f;
    ASSERT_TRUE(DrawRaceScreen());
    glFinish();
    pixels = framebuffer();
  }
  const unsigned char* at(int x, int y) const { return &pixels[(y * 800 + x) * 3]; }
  int count(Colour c, int y0 = 0, int y1 = 600) { return countColour(pixels, c, 0, y0, 800, y1); }
  // The rows holding a colour between rows y0 and y1.
  Box rows(Colour c, int y0 = 0, int y1 = 600) {
    Box b;
    for (int y = y0; y < y1; ++y) {
      const int n = countColour(pixels, c, 0, y, 800, y + 1);
      if (n == 0) continue;
      b = {std::min(b.y0, y), std::max(b.y1, y), b.found + n};
    }
    return b;
  }
  // Rows of the pixels that differ from `before` between rows y0 and y1, and whether all of
  // them are of colour c.
  Box changed(const std::vector<unsigned char>& before, int y0, int y1, Colour c, bool& allC) {
    Box b;
    allC = true;
    for (int y = y0; y < y1; ++y) {
      for (int x = 0; x < 800; ++x) {
        const size_t i = (y * 800 + x) * 3;
        if (std::equal(&pixels[i], &pixels[i + 3], &before[i])) continue;
        b = {std::min(b.y0, y), std::max(b.y1, y), b.found + 1};
        for (int k = 0; k < 3; ++k) allC = allC && std::abs(pixels[i + k] - c[k]) <= 2;
      }
    }
    return b;
  }

  std::vector<unsigned char> pixels;
  GLuint sky = 0, board = 0;
  std::array<uint32_t, 2> savedModel{};
};

TEST_F(SplitScreenTest, EachHalfIsTheRaceFromItsPlayersCameraWithTheOtherCarInIt) {
  CurrentRace.view = Race::ChaseView;
  SecondRace.view = Race::DriverView;
  SecondRace.player->rotation.y += 150.0f;  // the sky slides by 0.05 of its width
  drawFrame();
  // The middle of each half's sky: the same ramp, moved by player two's heading alone.
  const int topRed = at(400, 590)[0], bottomRed = at(400, 290)[0];
  EXPECT_NEAR(topRed, 128, 40);
  EXPECT_NEAR(bottomRed, topRed - 0.05 * 255, 4);
  // Player one's own car in the chase view, in their half only; player two sees nobody.
  EXPECT_GT(count(Magenta, Middle, 600), 500);
  EXPECT_EQ(count(Magenta, 0, Middle), 0);
  // Player two half a unit ahead: player one sees their car from the driver's view.
  SecondRace.player->rotation.y -= 150.0f;
  SecondRace.player->position.x += 0.5f;
  CurrentRace.view = Race::DriverView;
  drawFrame();
  EXPECT_GT(count(Magenta, Middle, 600), 200);
  EXPECT_EQ(count(Magenta, 0, Middle), 0);
  // The other way round: player one ahead of player two.
  SecondRace.player->position.x -= 1.0f;
  drawFrame();
  EXPECT_EQ(count(Magenta, Middle, 600), 0);
  EXPECT_GT(count(Magenta, 0, Middle), 200);
  // A dark line between the halves.
  for (int x = 0; x < 800; x += 50) EXPECT_EQ(at(x, Middle)[2] + at(x, Middle - 1)[2], 0) << x;
}

TEST_F(SplitScreenTest, EachHalfsTextsStayInsideItAtHalfTheSize) {
  // The countdown in each half, a quarter of the ink of a race alone, round each half's middle.
  SecondPlayerJoined = SecondPlayer::None;
  start();
  drawFrame();
  const int aloneInk = count(Yellow);
  SecondPlayerJoined = SecondPlayer::Keyboard;
  start();
  drawFrame();
  const Box top = rows(Yellow, Middle, 600), bottom = rows(Yellow, 0, Middle);
  for (const Box& half : {top, bottom}) EXPECT_NEAR(half.found, aloneInk / 4.0, aloneInk / 10.0);
  EXPECT_NEAR((top.y0 + top.y1) / 2, 450, 25);
  EXPECT_NEAR((bottom.y0 + bottom.y1) / 2, 150, 25);

  // Running: the time and laps at the top of each half, clear of the line between them.
  calendar.advance(5);
  drawFrame();
  const Box timeTop = rows(Grey, Middle, 600), timeBottom = rows(Grey, 0, Middle);
  EXPECT_GT(timeTop.found, 100);
  EXPECT_NEAR(timeTop.found, timeBottom.found, timeTop.found / 10.0);
  EXPECT_TRUE(timeTop.y0 > 500 && timeTop.y1 < 598);
  EXPECT_TRUE(timeBottom.y0 > 200 && timeBottom.y1 < Middle - 2);

  // Player one finished, player two still racing: each half shows its own.
  CurrentRace.state = Race::Finished;
  CurrentRace.finishTime = CurrentRace.runStart + 95;
  drawFrame();
  EXPECT_GT(count(TimeGreen, Middle, 600), 100);
  EXPECT_GT(count(Yellow, Middle, 600), 300);
  EXPECT_EQ(count(Grey, Middle, 600), 0);
  EXPECT_EQ(count(TimeGreen, 0, Middle) + count(Yellow, 0, Middle), 0);
  EXPECT_NEAR(count(Grey, 0, Middle), timeBottom.found, timeBottom.found / 10.0);
  const Box finish = rows(Yellow, Middle, 600);
  EXPECT_TRUE(finish.y0 > Middle + 2 && finish.y1 < 598);
}

TEST_F(SplitScreenTest, OnceBothAreDoneEachHalfShowsWhoWonAboveItsOwnMessage) {
  const uint32_t road = TrackTable[0].roadList;
  TrackTable[0].roadList = 0;  // sky and texts only: white is the new line's alone
  calendar.advance(5);
  drawFrame();
  CurrentRace.state = Race::Finished;
  CurrentRace.finishTime = CurrentRace.runStart + 95;
  CurrentRace.newBestTime = true;
  drawFrame();
  const auto playerTwoRacing = pixels;
  SecondRace.state = Race::Crashed;
  drawFrame();
  EXPECT_EQ(OutcomeOf(CurrentRace, SecondRace), Outcome::PlayerOneWins);
  // In player one's half only the new line changed: white, above "New best time!".
  bool white = false;
  const Box line = changed(playerTwoRacing, Middle, 600, White, white);
  EXPECT_TRUE(white);
  EXPECT_GT(line.found, 100);
  const Box newBest = rows(Yellow, line.y0 - 40, line.y0);
  EXPECT_GT(newBest.found, 50);
  EXPECT_TRUE(line.y1 < 598 && line.y0 > newBest.y1);
  // Player two's half against the same crash with player one still racing.
  const auto bothDone = pixels;
  CurrentRace.state = Race::Running;
  drawFrame();
  const auto playerOneRacing = pixels;
  pixels = bothDone;
  const Box lineTwo = changed(playerOneRacing, 0, Middle, White, white);
  EXPECT_TRUE(white);
  EXPECT_NEAR(lineTwo.found, line.found, line.found / 10.0);
  EXPECT_TRUE(lineTwo.y1 < Middle - 2 && lineTwo.y0 > rows(Yellow, 0, Middle).y1);
  TrackTable[0].roadList = road;
}

TEST_F(SplitScreenTest, ARaceAloneIsDrawnAsBeforeARaceOfTwo) {
  SecondPlayerJoined = SecondPlayer::None;
  start();
  CurrentRace.view = Race::ChaseView;
  drawFrame();
  const auto alone = pixels;
  GLint viewport[4];
  GLfloat projection[16], after[16];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  SecondPlayerJoined = SecondPlayer::Keyboard;
  start();
  drawFrame();
  EXPECT_NE(pixels, alone);
  // The window's viewport, projection and scissor are as they were.
  GLint now[4];
  glGetIntegerv(GL_VIEWPORT, now);
  glGetFloatv(GL_PROJECTION_MATRIX, after);
  EXPECT_TRUE(std::equal(now, now + 4, viewport));
  EXPECT_TRUE(std::equal(after, after + 16, projection));
  EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
  SecondPlayerJoined = SecondPlayer::None;
  start();
  drawFrame();
  EXPECT_EQ(pixels, alone);
}

}  // namespace
