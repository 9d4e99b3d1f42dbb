// The race's time texts: whole seconds for the race messages, hundredths for ghosts and splits.
#include <gtest/gtest.h>

#include "race/race_time.h"

namespace {

TEST(RaceTime, SplitAndGhostTimesInHundredths) {
  const struct {
    int32_t steps;
    const char *split, *time;
  } cases[] = {{0, "0.00", "0.00"},       {74, "+1.23", "1.23"}, {-74, "-1.23", "0.00"},
               {3674, "+61.23", "61.23"}, {-1, "-0.02", "0.00"}, {34, "+0.57", "0.57"}};
  for (const auto& c : cases) {
    EXPECT_EQ(SplitText(c.steps), c.split) << c.steps;
    EXPECT_EQ(StepsTimeText(c.steps), c.time) << c.steps;
  }
}

}  // namespace
