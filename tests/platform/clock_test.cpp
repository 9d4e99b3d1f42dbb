// The replaceable calendar clock.
#include <gtest/gtest.h>

#include "platform/clock.h"

TEST(CalendarClock, CanBeReplacedAndRestored) {
  platform::SetCalendarClock([] { return std::time_t{1234}; });
  EXPECT_EQ(platform::CalendarTime(), 1234);
  platform::SetCalendarClock(nullptr);
  EXPECT_GT(platform::CalendarTime(), 1234);
}
