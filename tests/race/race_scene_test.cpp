// The race picture in the headless context: the sky, the chase-view car and each state's
// messages, checked by the colours found in screen regions.
#include <gtest/gtest.h>

#include "platform/gl_context_generation.h"
#include "race/race_screen.h"
#include "race_fixture.h"

namespace {

using Colour = std::array<int, 3>;
constexpr Colour Yellow{255, 255, 0}, Grey{204, 204, 204}, TimeGreen{77, 255, 179},
    Magenta{255, 0, 255};

class RaceSceneTest : public race_testing::RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    useGameProjection();
    SpinAngle = 0.0f;
    // A sky over a dark blue base that is a ramp along s: red rising, green falling.
    unsigned char texels[256][3];
    for (int i = 0; i < 256; ++i) texels[i][0] = i, texels[i][1] = 255 - i, texels[i][2] = 64;
    glGenTextures(1, &sky);
    glBindTexture(GL_TEXTURE_2D, sky);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    startRace(0, 0);
    TrackTable[0].skyTexture = sky;  // in place of the track's own, which has no file here
    TrackTable[0].skyTextureGeneration = platform::GlContextGeneration();
  }
  void TearDown() override {
    glDeleteTextures(1, &sky);
    TrackTable[0].skyTexture = 0;
    RaceTest::TearDown();
  }

  void drawFrame() {
    ASSERT_TRUE(DrawRaceScreen());
    glFinish();
    pixels = framebuffer();
  }
  const unsigned char* at(int x, int y) const { return &pixels[(y * 800 + x) * 3]; }
  // Pixels of the colour in [x0, x1) x [y0, y1), and their mean x.
  int count(Colour c, int x0 = 0, int y0 = 0, int x1 = 800, int y1 = 600) {
    return countColour(pixels, c, x0, y0, x1, y1, &meanX);
  }

  std::vector<unsigned char> pixels;
  GLuint sky = 0;
  double meanX = 0;
};

TEST_F(RaceSceneTest, SkyFillsTheBackgroundAndMovesWithHeadingButNotPosition) {
  drawFrame();
  for (int y = 380; y < 600; y += 20) {  // no pixel of the upper half left at the clear colour
    for (int x = 0; x < 800; x += 40) ASSERT_EQ(at(x, y)[2], 64) << x << "," << y;
  }
  const int red = at(400, 580)[0];
  EXPECT_NEAR(red, 128, 40);  // the visible middle of the ramp
  // The road in front of the car hides the sky (which is drawn last, behind what is there).
  for (int x = 200; x < 600; x += 40) ASSERT_NE(at(x, 10)[2], 64) << x;
  CurrentRace.player->position = Vector3f(1.0, 0.05, 0.3);
  drawFrame();
  EXPECT_EQ(at(400, 580)[0], red);
  CurrentRace.player->rotation.y += 150.0f;  // a grows by 150 x 0.06 / 180 = 0.05 of the width
  drawFrame();
  EXPECT_NEAR(at(400, 580)[0], red - 0.05 * 255, 3);
}

TEST_F(RaceSceneTest, ChaseViewDrawsTheCarAndDriverViewDoesNot) {
  // A magenta board across the car standing in for its model, in model units.
  Model& model = CarRoster[0].model;
  const auto savedList = model.displayList, savedGeneration = model.displayListGeneration;
  const GLuint box = glGenLists(1);
  glNewList(box, GL_COMPILE);
  glColor3ub(255, 0, 255);
  glRectf(-8.0f, 0.0f, 8.0f, 10.0f);
  glEndList();
  model.displayList = box;
  model.displayListGeneration = platform::GlContextGeneration();

  CurrentRace.view = Race::DriverView;
  drawFrame();
  EXPECT_EQ(count(Magenta), 0);
  KeyState[0x32] = true;
  RaceScreenInput();
  drawFrame();
  EXPECT_GT(count(Magenta), 2000);
  EXPECT_EQ(count(Magenta, 0, 300, 800, 600), 0);  // seen from behind and above
  KeyState[0x31] = true;
  RaceScreenInput();
  drawFrame();
  EXPECT_EQ(count(Magenta), 0);
  model.displayList = savedList;
  model.displayListGeneration = savedGeneration;
  glDeleteLists(box, 1);
}

TEST_F(RaceSceneTest, EachStateShowsItsMessagesInPlaceAndColour) {
  drawFrame();  // Ready: the label, yellow, in the middle
  EXPECT_GT(count(Yellow, 150, 250, 650, 380), 300);
  EXPECT_EQ(count(Yellow), count(Yellow, 150, 250, 650, 380));
  EXPECT_EQ(count(Grey), 0);

  for (int second = 0; second < 5; ++second) calendar.advance(), CurrentRace.step();
  drawFrame();  // Running: time and laps in grey at the top, nothing yellow
  EXPECT_GT(count(Grey, 0, 500, 800, 600), 300);
  EXPECT_EQ(count(Grey, 0, 0, 800, 500), 0);
  EXPECT_EQ(count(Yellow), 0);
  const int timeInk = count(Grey, 0, 545, 800, 600);
  calendar.advance(12);  // "0 seconds" becomes "12 seconds": one more digit
  drawFrame();
  EXPECT_GT(count(Grey, 0, 545, 800, 600), timeInk);

  // Crashed: "Kaboom!!!" in the middle, two yellow lines below; the second starts from the end
  // of the first, so it sits right of the centre.
  CurrentRace.state = Race::Crashed;
  drawFrame();
  EXPECT_EQ(count(Grey), 0);
  EXPECT_GT(count(Yellow, 0, 250, 800, 380), 300);
  EXPECT_GT(count(Yellow, 0, 150, 800, 210), 300);
  EXPECT_GT(count(Yellow, 0, 60, 800, 130), 100);
  EXPECT_GT(meanX, 460);

  // Finished: "Congratulation!!!" yellow, the time below it in green, the ESC line yellow again.
  CurrentRace.state = Race::Finished;
  CurrentRace.finishTime = CurrentRace.runStart + 95;
  drawFrame();
  EXPECT_GT(count(Yellow, 0, 250, 800, 380), 300);
  EXPECT_GT(count(TimeGreen, 0, 150, 800, 210), 300);
  EXPECT_EQ(count(TimeGreen, 0, 250, 800, 600), 0);
  EXPECT_GT(count(Yellow, 0, 60, 800, 130), 50);
  EXPECT_GT(meanX, 460);
}

}  // namespace

TEST_F(RaceSceneTest, FinishMessageGainsTheBestTimeAndNewBestLines) {
  CurrentRace.state = Race::Finished;
  CurrentRace.finishTime = CurrentRace.runStart + 95;
  drawFrame();  // no best time known: the message as before
  EXPECT_EQ(count(TimeGreen, 0, 0, 800, 60), 0);
  EXPECT_EQ(count(Yellow, 0, 400, 800, 600), 0);

  CurrentRace.bestTime = 90;
  drawFrame();  // the best time under the ESC line, no "New best time!"
  EXPECT_GT(count(TimeGreen, 0, 0, 800, 60), 100);
  EXPECT_EQ(count(Yellow, 0, 400, 800, 600), 0);

  CurrentRace.newBestTime = true;
  drawFrame();  // "New best time!" in yellow above the headline
  EXPECT_GT(count(Yellow, 0, 400, 800, 600), 300);
}
