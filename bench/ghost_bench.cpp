// Benchmarks of the ghost: a whole race frame at 800 by 600 headless (chase view, longest track)
// with the ghost car shown half a unit ahead next to the same frame with it hidden, and one
// simulation step with and without recording the car's path, counting the allocations made.
// The game loads Data/ from the working folder; ghosts and settings go to a scratch folder.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include "bench_context.h"
#include "game/players.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "race/race.h"
#include "race/race_screen.h"
#include "race/race_start.h"
#include "records/ghost_store.h"
#include "standalone_race.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

std::atomic<long> Allocations{0};

// Out of line, so the compiler does not pair the free below with a new it can see.
__attribute__((noinline)) void* CountedAllocation(size_t size) {
  Allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}

__attribute__((noinline)) void Release(void* p) noexcept {
  std::free(p);
}

}  // namespace

void* operator new(size_t size) {
  return CountedAllocation(size);
}
void operator delete(void* p) noexcept {
  Release(p);
}
void operator delete(void* p, size_t) noexcept {
  Release(p);
}

namespace {

constexpr int LongTrack = 1;  // BlueSky, the longest centre line

// Ghosts and settings of the benchmark in a folder of its own, never the player's.
void UseScratchHomes() {
  static bool done = false;
  if (done) return;
  done = true;
  char pattern[] = "/tmp/quillon_bench_XXXXXX";
  const char* folder = mkdtemp(pattern);
  if (folder == nullptr) std::exit(1);
  setenv("XDG_DATA_HOME", folder, 1);
  setenv("XDG_CONFIG_HOME", folder, 1);
}

// The race of the frame benchmark: running in the chase view, with a ghost standing half a unit
// ahead of the car for as long as a ghost can last.
void SetUpRace() {
  static bool done = false;
  if (done) return;
  done = true;
  UseScratchHomes();
  LoadGameQuietly();
  static std::time_t now = 1'000'000;
  platform::SetCalendarClock([] { return now; });
  SelectedTrackIndex = LongTrack;
  SelectedTrack = &TrackTable[LongTrack];
  GhostPath ahead;
  ahead.poses.assign(GhostMaxSteps, {-1.8f, 0.05f, 0.0f, 0.0f, -90.0f, 0.0f});
  ahead.lapSteps = {GhostMaxSteps};
  GameGhosts.keep(SelectedTrack->name, Players[0].car().name, ahead);
  StartSelectedRace();
  Races[0].view = Race::ChaseView;
  now += 5;
}

// Arg 0: the ghost hidden; 1: shown.
void BM_RaceFrameGhost(benchmark::State& state) {
  SetUpRace();
  if ((Races[0].ghost.pose() != nullptr) != (state.range(0) == 1)) Races[0].ghost.toggleShown();
  for (auto _ : state) {
    DrawRaceScreen();
    glFinish();
  }
}
// Process CPU time: the main thread and llvmpipe's rasteriser threads, steadier than wall time on a
// shared machine.
BENCHMARK(BM_RaceFrameGhost)
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

// Arg 0: the five calls of a simulation step; 1: the same and the path recorded. Up held.
void BM_SimulationStepRecorded(benchmark::State& state) {
  UseScratchHomes();
  StandaloneRace own(LongTrack);
  own.track.name = "bench";
  own.race.start();
  own.race.state = Race::Running;
  Race& race = own.race;
  const bool record = state.range(0) == 1;
  const long before = Allocations.load();
  long atStarts = 0;
  for (auto _ : state) {
    race.simulate();
    if (record) {
      if (race.ghost.steps() == GhostMaxSteps) {
        // A new race: what its start allocates is not the recording's.
        state.PauseTiming();
        const long starting = Allocations.load();
        race.ghost.begin(own.track.name, own.car.name);
        atStarts += Allocations.load() - starting;
        state.ResumeTiming();
      }
      race.ghost.afterStep(own.player);
    }
    race.handleInput();
    benchmark::DoNotOptimize(own.player.position);
  }
  state.counters["allocations"] = static_cast<double>(Allocations.load() - before - atStarts);
}
BENCHMARK(BM_SimulationStepRecorded)->Arg(0)->Arg(1);

}  // namespace

BENCHMARK_MAIN();
