// The start-up timeline: with QUILLON_TIMELINE set, each marked step is written to standard
// error with the thread it ran on and its time since the program began.
#pragma once

#include <string_view>

namespace platform {

// Reads QUILLON_TIMELINE and takes the time the others are measured from; called first in main.
// Its value 1 times steps from here; a launch time in nanoseconds since the epoch (`date +%s%N`
// just before the program is started) times them from that launch as well.
void StartTimeline();

// Writes one line when the timeline is on (otherwise costs one load of a flag): milliseconds since
// StartTimeline (and since the launch, if given), the thread's CPU milliseconds so far, the
// process's resident memory, the thread and the step.
void TimelineMark(std::string_view step);

// The thread's name on its lines (the main thread is "main", others "worker N" until named).
void NameTimelineThread(std::string_view name);

bool TimelineOn();

}  // namespace platform
