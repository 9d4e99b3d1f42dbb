// The start-up timeline: steps marked on any thread, written to standard error when asked for.
#include "platform/timeline.h"

#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

std::atomic<bool> gOn{false};
std::chrono::steady_clock::time_point gStart;
// Milliseconds from the launch given in QUILLON_TIMELINE to StartTimeline; negative: none given.
double gLaunchToStart = -1;
std::atomic<int> gWorkers{0};
thread_local std::string tName;

double ThreadCpuMs() {
  timespec cpu{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
  return cpu.tv_sec * 1e3 + cpu.tv_nsec / 1e6;
}

// Resident memory now, from /proc (0 where there is none).
double ResidentMb() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

}  // namespace

void StartTimeline() {
  const char* value = std::getenv("QUILLON_TIMELINE");
  if (value == nullptr || value[0] == '\0' || std::string_view(value) == "0") return;
  gStart = std::chrono::steady_clock::now();
  const double launchNs = std::strtod(value, nullptr);
  if (launchNs > 1e9) {
    const double nowNs = std::chrono::duration<double, std::nano>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    gLaunchToStart = (nowNs - launchNs) / 1e6;
  }
  tName = "main";
  gOn = true;
  TimelineMark("main began");
}

bool TimelineOn() {
  return gOn.load(std::memory_order_relaxed);
}

void NameTimelineThread(std::string_view name) {
  if (TimelineOn()) tName = name;
}

void TimelineMark(std::string_view step) {
  if (!TimelineOn()) return;
  if (tName.empty()) tName = "worker " + std::to_string(++gWorkers);
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - gStart).count();
  char launch[32] = "";
  if (gLaunchToStart >= 0)
    std::snprintf(launch, sizeof launch, " launch %8.2f", ms + gLaunchToStart);
  std::fprintf(stderr, "timeline: %8.2f ms%s cpu %7.2f rss %6.1f MB  %-9s %.*s\n", ms, launch,
               ThreadCpuMs(), ResidentMb(), tName.c_str(), int(step.size()), step.data());
}

}  // namespace platform
