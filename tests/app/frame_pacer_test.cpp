// The frame pacer holds a steady rate with an injected clock, sleeping rather than spinning.
#include "app/frame_pacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FakeTime {
  double now = 100.0;
  std::vector<double> sleeps;
  FramePacer pacer() {
    return FramePacer(
        1.0 / 60.0, [this] { return now; },
        [this](double s) {
          sleeps.push_back(s);
          now += s;
        });
  }
};

TEST(FramePacer, FastOrUnevenFramesAreHeldToSixtyPerSecond) {
  // Frames that take 1 ms, and frames alternately over and under the period.
  for (bool uneven : {false, true}) {
    FakeTime time;
    FramePacer pacer = time.pacer();
    for (int i = 0; i < 600; ++i) {
      time.now += uneven ? ((i % 2) ? 0.020 : 0.002) : 0.001;
      pacer.frameDone();
    }
    EXPECT_NEAR(time.now - 100.0, 10.0, 0.03);  // ten seconds, without drift
    for (double s : time.sleeps) EXPECT_GT(s, 0.0);
  }
}

TEST(FramePacer, SlowFramesAreNotDelayedAndAStallCausesNoRushToCatchUp) {
  FakeTime time;
  FramePacer pacer = time.pacer();
  pacer.frameDone();
  time.sleeps.clear();
  for (int i = 0; i < 10; ++i) {
    time.now += 0.030;  // slower than the frame period
    pacer.frameDone();
  }
  EXPECT_TRUE(time.sleeps.empty());
  time.now += 2.0;  // e.g. a window re-creation
  pacer.frameDone();
  // After the stall every frame is paced again: no burst of unpaced frames.
  for (int i = 0; i < 5; ++i) {
    time.now += 0.001;
    pacer.frameDone();
  }
  EXPECT_EQ(time.sleeps.size(), 5u);
}

}  // namespace
