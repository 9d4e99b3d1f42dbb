// Frame pacing with a monotonic clock and sleeps (no busy-wait).
#include "app/frame_pacer.h"

#include "platform/clock.h"

FramePacer::FramePacer(double period, Clock clock, Sleep sleep)
    : period_(period), clock_(std::move(clock)), sleep_(std::move(sleep)) {
  if (!clock_) clock_ = platform::MonotonicSeconds;
  if (!sleep_) sleep_ = platform::SleepSeconds;
}

void FramePacer::frameDone() {
  double now = clock_();
  if (next_ < 0) {
    next_ = now + period_;
  } else {
    next_ += period_;
  }
  if (now > next_ + period_) {
    next_ = now;  // fell behind (a stall): resume from here
    return;
  }
  if (next_ > now) sleep_(next_ - now);
}
