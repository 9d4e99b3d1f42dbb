// The race picture in the headless context: the sky, the chase-view car and each state's
// messages, checked by the colours found in screen regions.
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <functional>

#include "assets/outline_font.h"
#include "platform/gl_context_generation.h"
#include "race/race_screen.h"
#include "race_fixture.h"

namespace {

using race_testing::RaceTest;

struct Colour {
  int r, g, b;
};
constexpr Colour Yellow{255, 255, 0};
constexpr Colour Grey{204, 204, 204};
constexpr Colour TimeGreen{77, 255, 179};
constexpr Colour Magenta{255, 0, 255};

class RaceSceneTest : public RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    static const bool fontBuilt = (BuildFont(), true);
    (void)fontBuilt;
    // The game's projection and fixed state.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_POLYGON_SMOOTH);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    savedSpin = SpinAngle;
    SpinAngle = 0.0f;
    savedSky = TrackTable[0].skyTexture;
  }
  void TearDown() override {
    TrackTable[0].skyTexture = savedSky;
    SpinAngle = savedSpin;
    if (skyTexture != 0) glDeleteTextures(1, &skyTexture);
    RaceTest::TearDown();
  }

  // A sky that is a ramp along s (red rising, green falling) over a dark blue base.
  void useRampSky(bool ramp = true) {
    unsigned char texels[256 * 3];
    for (int i = 0; i < 256; ++i) {
      texels[i * 3] = ramp ? static_cast<unsigned char>(i) : 0;
      texels[i * 3 + 1] = ramp ? static_cast<unsigned char>(255 - i) : 0;
      texels[i * 3 + 2] = 64;
    }
    glGenTextures(1, &skyTexture);
    glBindTexture(GL_TEXTURE_2D, skyTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    TrackTable[0].skyTexture = skyTexture;
  }

  void drawFrame() {
    ASSERT_TRUE(DrawRaceScreen());
    glFinish();
    pixels = framebuffer();
  }

  // Pixels of the colour (within 2 per channel) in the window rectangle [x0, x1) x [y0, y1).
  int count(Colour c, int x0, int y0, int x1, int y1, double* meanX = nullptr) const {
    int found = 0;
    double sumX = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const unsigned char* p = &pixels[(static_cast<size_t>(y) * 800 + x) * 3];
        if (std::abs(p[0] - c.r) <= 2 && std::abs(p[1] - c.g) <= 2 && std::abs(p[2] - c.b) <= 2) {
          ++found;
          sumX += x;
        }
      }
    }
    if (meanX != nullptr) *meanX = found > 0 ? sumX / found : 0;
    return found;
  }
  int countAll(Colour c) const { return count(c, 0, 0, 800, 600); }
  const unsigned char* at(int x, int y) const { return &pixels[(y * 800 + x) * 3]; }

  std::vector<unsigned char> pixels;
  GLuint skyTexture = 0;
  GLuint savedSky = 0;
  float savedSpin = 0;
};

TEST_F(RaceSceneTest, SkyFillsTheBackgroundAndMovesWithHeadingButNotPosition) {
  useRampSky();
  startRace(0, 0);
  drawFrame();
  // Every pixel of the upper half is sky: none is left at the black clear colour.
  for (int y = 380; y < 600; y += 20) {
    for (int x = 0; x < 800; x += 40) ASSERT_EQ(at(x, y)[2], 64) << x << "," << y;
  }
  const int red = at(400, 580)[0];
  // The visible middle of the ramp.
  EXPECT_NEAR(red, 128, 40);

  CurrentRace.player->position = Vector3f(1.0, 0.05, 0.3);
  drawFrame();
  EXPECT_EQ(at(400, 580)[0], red);

  CurrentRace.player->rotation.y += 150.0f;  // a grows by 150 x 0.06 / 180 = 0.05 of the width
  drawFrame();
  EXPECT_NEAR(at(400, 580)[0], red - 0.05 * 255, 3);
}

TEST_F(RaceSceneTest, ChaseViewDrawsTheCarAndDriverViewDoesNot) {
  useRampSky(false);
  // A magenta box standing in for the car model, in model units.
  Model& model = CarRoster[0].model;
  const uint32_t savedList = model.displayList, savedGeneration = model.displayListGeneration;
  const GLuint box = glGenLists(1);
  glNewList(box, GL_COMPILE);
  glColor3ub(255, 0, 255);
  glBegin(GL_QUADS);
  // Corner c of the box: bit 0 picks x, bit 1 y, bit 2 z.
  auto corner = [](int c) {
    glVertex3f(c & 1 ? 8.0f : -8.0f, c & 2 ? 10.0f : 0.0f, c & 4 ? 15.0f : -15.0f);
  };
  const int faces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                           {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
  for (const auto& face : faces) {
    for (int c : face) corner(c);
  }
  glEnd();
  glEndList();
  model.displayList = box;
  model.displayListGeneration = platform::GlContextGeneration();

  startRace(0, 0);
  CurrentRace.view = Race::DriverView;
  drawFrame();
  EXPECT_EQ(countAll(Magenta), 0);
  KeyState[0x32] = true;
  RaceScreenInput();
  drawFrame();
  const int chase = countAll(Magenta);
  EXPECT_GT(chase, 2000);
  // Seen from behind and above: the car sits in the lower half.
  EXPECT_EQ(count(Magenta, 0, 300, 800, 600), 0);
  KeyState[0x31] = true;
  RaceScreenInput();
  drawFrame();
  EXPECT_EQ(countAll(Magenta), 0);

  model.displayList = savedList;
  model.displayListGeneration = savedGeneration;
  glDeleteLists(box, 1);
}

TEST_F(RaceSceneTest, EachStateShowsItsMessagesInPlaceAndColour) {
  useRampSky(false);
  startRace(0, 0);
  // Ready: the label, yellow, in the middle.
  drawFrame();
  EXPECT_GT(count(Yellow, 150, 250, 650, 380), 300);
  EXPECT_EQ(countAll(Yellow), count(Yellow, 150, 250, 650, 380));
  EXPECT_EQ(countAll(Grey), 0);

  // Running: time and laps in grey at the top, nothing yellow.
  runCountdown();
  drawFrame();
  EXPECT_GT(count(Grey, 0, 500, 800, 600), 300);
  EXPECT_EQ(count(Grey, 0, 0, 800, 500), 0);
  EXPECT_EQ(countAll(Yellow), 0);
  const int timeInk = count(Grey, 0, 545, 800, 600);
  calendar.advance(12);  // "0 seconds" becomes "12 seconds": one more digit
  drawFrame();
  EXPECT_GT(count(Grey, 0, 545, 800, 600), timeInk);

  // Crashed: "Kaboom!!!" in the middle, two yellow lines below; the second starts from the end
  // of the first, so it sits right of the centre.
  CurrentRace.state = Race::Crashed;
  drawFrame();
  EXPECT_EQ(countAll(Grey), 0);
  EXPECT_GT(count(Yellow, 0, 250, 800, 380), 300);
  EXPECT_GT(count(Yellow, 0, 150, 800, 210), 300);
  double meanX = 0;
  EXPECT_GT(count(Yellow, 0, 60, 800, 130, &meanX), 100);
  EXPECT_GT(meanX, 460);

  // Finished: "Congratulation!!!" yellow in the middle, the time below it in green, the ESC line
  // in yellow again right of the centre.
  CurrentRace.state = Race::Finished;
  CurrentRace.finishTime = CurrentRace.runStart + 95;
  drawFrame();
  EXPECT_GT(count(Yellow, 0, 250, 800, 380), 300);
  EXPECT_GT(count(TimeGreen, 0, 150, 800, 210), 300);
  EXPECT_EQ(count(TimeGreen, 0, 250, 800, 600), 0);
  EXPECT_GT(count(Yellow, 0, 60, 800, 130, &meanX), 50);
  EXPECT_GT(meanX, 460);
}

}  // namespace
