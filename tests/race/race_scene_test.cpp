// The race picture in the headless context: the sky, the chase-view car and each state's
// messages, checked by the colours found in screen regions.
#include <gtest/gtest.h>

#include "race_fixture.h"
#include "records/ghost_store.h"
#include "records/settings.h"

namespace {

using Colour = race_testing::Colour;
using race_testing::Grey, race_testing::Magenta, race_testing::TimeGreen, race_testing::Yellow;

using race_testing::RaceSceneTest;

TEST_F(RaceSceneTest, SkyFillsTheBackgroundAndMovesWithHeadingButNotPosition) {
  drawFrame();
  for (int y = 380; y < 600; y += 20) {  // no pixel of the upper half left at the clear colour
    for (int x = 0; x < 800; x += 40) ASSERT_EQ(at(x, y)[2], 64) << x << "," << y;
  }
  const int red = at(400, 580)[0];
  EXPECT_NEAR(red, 128, 40);  // the visible middle of the ramp
  // The road in front of the car hides the sky (which is drawn last, behind what is there).
  for (int x = 200; x < 600; x += 40) ASSERT_NE(at(x, 10)[2], 64) << x;
  Races[0].player->position = Vector3f(1.0, 0.05, 0.3);
  drawFrame();
  EXPECT_EQ(at(400, 580)[0], red);
  Races[0].player->rotation.y += 150.0f;  // a grows by 150 x 0.06 / 180 = 0.05 of the width
  drawFrame();
  EXPECT_NEAR(at(400, 580)[0], red - 0.05 * 255, 3);
}

TEST_F(RaceSceneTest, ChaseViewDrawsTheCarAndDriverViewDoesNot) {
  useBoardModel(true);
  Races[0].view = Race::DriverView;
  KeyState[0x32] = true;
  RaceScreenInput();
  drawFrame();
  EXPECT_GT(count(Magenta), 2000);
  EXPECT_EQ(count(Magenta, 0, 300, 800, 600), 0);  // seen from behind and above
  KeyState[0x31] = true;
  RaceScreenInput();
  drawFrame();
  EXPECT_EQ(count(Magenta), 0);
}

TEST_F(RaceSceneTest, EachStateShowsItsMessagesInPlaceAndColourAndTheFinishItsBestTimeLines) {
  drawFrame();  // Ready: the label, yellow, in the middle
  EXPECT_GT(count(Yellow, 150, 250, 650, 380), 300);
  EXPECT_EQ(count(Yellow), count(Yellow, 150, 250, 650, 380));
  EXPECT_EQ(count(Grey), 0);

  for (int second = 0; second < 5; ++second) calendar.advance(), Races[0].step();
  drawFrame();  // Running: time and laps in grey at the top, nothing yellow
  EXPECT_GT(count(Grey, 0, 500, 800, 600), 300);
  EXPECT_EQ(count(Grey, 0, 0, 800, 500), 0);
  EXPECT_EQ(count(Yellow), 0);
  const int timeInk = count(Grey, 0, 545, 800, 600);
  calendar.advance(12);  // "0 seconds" becomes "12 seconds": one more digit
  drawFrame();
  EXPECT_GT(count(Grey, 0, 545, 800, 600), timeInk);

  // Crashed: "Kaboom!!!" in the middle, two yellow lines below; the second starts from the end
  // of the first, so it sits right of the centre. V's line in grey in the top left corner alone.
  Races[0].state = Race::Crashed;
  drawFrame();
  EXPECT_GT(count(Grey, 0, 530, 330, 600), 300);
  EXPECT_EQ(count(Grey), count(Grey, 0, 530, 330, 600));
  EXPECT_GT(count(Yellow, 0, 250, 800, 380), 300);
  EXPECT_GT(count(Yellow, 0, 150, 800, 210), 300);
  EXPECT_GT(count(Yellow, 0, 60, 800, 130), 100);
  EXPECT_GT(meanX, 460);

  // Finished: "Congratulation!!!" yellow, the time below it in green, the ESC line yellow again.
  Races[0].state = Race::Finished;
  Races[0].finishTime = Races[0].runStart + 95;
  drawFrame();
  EXPECT_GT(count(Yellow, 0, 250, 800, 380), 300);
  EXPECT_GT(count(TimeGreen, 0, 150, 800, 210), 300);
  EXPECT_EQ(count(TimeGreen, 0, 250, 800, 600), 0);
  EXPECT_GT(count(Yellow, 0, 60, 800, 130), 50);
  EXPECT_GT(meanX, 460);
  EXPECT_EQ(count(Grey), count(Grey, 0, 530, 330, 600));
  EXPECT_GT(count(Grey), 300);
  EXPECT_EQ(count(TimeGreen, 0, 0, 800, 60), 0);  // no best time known: no line for it
  EXPECT_EQ(count(Yellow, 0, 400, 800, 600), 0);

  Races[0].bestTime = 90;
  drawFrame();  // the best time under the ESC line, no "New best time!"
  EXPECT_GT(count(TimeGreen, 0, 0, 800, 60), 100);
  EXPECT_EQ(count(Yellow, 0, 400, 800, 600), 0);

  Races[0].newBestTime = true;
  drawFrame();  // "New best time!" in yellow above the headline
  EXPECT_GT(count(Yellow, 0, 400, 800, 600), 300);

  Races[0].newMedal = Medal::Gold;
  drawFrame();  // the new medal above it, in gold, clear of every other line
  constexpr Colour Gold{255, 204, 26};
  EXPECT_GT(count(Gold, 0, 455, 800, 520), 200);
  EXPECT_EQ(count(Gold), count(Gold, 0, 455, 800, 520));
  EXPECT_EQ(count(Yellow, 0, 455, 800, 600), 0);
  Races[0].newMedal = Medal::None;
}

constexpr Colour SplitGreen{51, 255, 51}, SplitRed{255, 77, 77};

// Pixels of a colour: their bounding box (x0, y0, x1, y1, inclusive) and how many.
struct Box {
  int x0 = 800, y0 = 600, x1 = -1, y1 = -1, found = 0;
  bool clearOf(const Box& o) const { return x1 < o.x0 || o.x1 < x0 || y1 < o.y0 || o.y1 < y0; }
};

class GhostSceneTest : public RaceSceneTest {
 protected:
  // A kept ghost for the first car on the first track, then a fresh start that loads it.
  void keepGhost(const GhostPath& path) {
    ASSERT_TRUE(GameGhosts.keep(TrackTable[0].name, CarRoster[0].name, path));
    Races[0].start();
  }
  Box box(Colour c, int rowFrom = 0, int rowTo = 600) {
    Box b;
    for (int y = rowFrom; y < rowTo; ++y) {
      for (int x = 0; x < 800; ++x) {
        const unsigned char* p = at(x, y);
        if (std::abs(p[0] - c[0]) > 2 || std::abs(p[1] - c[1]) > 2 || std::abs(p[2] - c[2]) > 2)
          continue;
        b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x), std::max(b.y1, y),
             b.found + 1};
      }
    }
    return b;
  }
};

TEST_F(GhostSceneTest, GhostIsDrawnTranslucentWhereItsPathSaysAndHiddenWithG) {
  useBoardModel(false);
  // Straight ahead of the car, then a tenth to its left, where the path ends.
  keepGhost({{{-2.0f, 0.05f, 0.0f, 0, -90, 0}, {-2.0f, 0.05f, -0.1f, 0, -90, 0}}, {2}});
  // The ghost's pixels: those that a frame with it shows differently from one without.
  auto ghostPixels = [&](double expectedX) {
    KeyState[0x47] = true;  // G
    RaceScreenInput();
    EXPECT_FALSE(GameSettings.ghost());
    SpinAngle = 0;
    drawFrame();
    const auto without = pixels;
    KeyState[0x47] = true;
    RaceScreenInput();
    EXPECT_TRUE(GameSettings.ghost());
    SpinAngle = 0;
    drawFrame();
    int changed = 0;
    double sumX = 0;
    for (size_t i = 0; i < pixels.size(); i += 3) {
      if (std::equal(&pixels[i], &pixels[i + 3], &without[i])) continue;
      ++changed;
      sumX += static_cast<double>(i / 3 % 800);
      for (int c = 0; c < 3; ++c)  // white at 45 % over what was there
        ASSERT_NEAR(pixels[i + c], 0.45 * 255 + 0.55 * without[i + c], 3) << i / 3;
    }
    EXPECT_GT(changed, 2000);
    EXPECT_NEAR(sumX / changed, expectedX, 20);
  };
  ghostPixels(400);  // before "GO": at the start of its path
  calendar.advance(5);
  drawFrame();
  drawFrame();
  ghostPixels(159);  // past the end of its path: stays at its last pose
}

TEST_F(GhostSceneTest, LapSplitsShowThreeSecondsUnderTheTimeAndTheRaceDifferenceAtTheFinish) {
  keepGhost({std::vector<GhostPose>(300, {-2.3f, 0.05f, 0, 0, -90, 0}), {100, 300}});
  const int16_t trackLaps = TrackTable[0].laps;
  TrackTable[0].laps = 3;  // both laps are run while Running
  calendar.advance(5);
  const int lapSteps[] = {90, 320};  // 10 steps ahead, then 20 behind
  for (int lap = 1; lap <= 2; ++lap) {
    while (Races[0].ghost.steps() < lapSteps[lap - 1] - 1) Races[0].step();
    Races[0].player->laps = static_cast<int16_t>(lap);
    for (int frame = 0; frame <= RaceGhost::SplitSteps; ++frame) {
      if (frame % 60 == 59) calendar.advance();
      if (frame % 30 != 0 && frame < RaceGhost::SplitSteps - 1) {
        Races[0].step();
        continue;
      }
      drawFrame();
      const Box split = box(lap == 1 ? SplitGreen : SplitRed), texts = box(Grey);
      ASSERT_GT(texts.found, 300);
      ASSERT_EQ(split.found > 100, frame < RaceGhost::SplitSteps) << lap << ", " << frame;
      if (frame == RaceGhost::SplitSteps) continue;
      EXPECT_LT(split.y1 + 3, texts.y0) << lap << ", " << frame;  // under the time and laps
      EXPECT_NEAR((split.x0 + split.x1) / 2, 400, 10);
    }
  }

  Races[0].ghost.finish();  // 500 steps against 300: behind by 3.33
  Races[0].state = Race::Finished;
  Races[0].finishTime = Races[0].runStart + 95;
  Races[0].bestTime = 90;
  Races[0].newBestTime = true;
  drawFrame();
  const Box difference = box(SplitRed), bestLine = box(TimeGreen, 0, 120);
  ASSERT_GT(difference.found, 50);
  // Beside the best-time line: on its rows, right of its end.
  EXPECT_LT(difference.y0, bestLine.y1);
  EXPECT_LT(bestLine.y0, difference.y1);
  EXPECT_LT(bestLine.x1 + 5, difference.x0);
  EXPECT_TRUE(difference.clearOf(box(TimeGreen, 120, 600)));
  EXPECT_TRUE(difference.clearOf(box(Yellow)));
  TrackTable[0].laps = trackLaps;
}

}  // namespace
