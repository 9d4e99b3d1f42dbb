// Benchmarks of the race: one simulation step on the longest built-in track, one whole race
// frame (scene and messages, chase view) at 800 by 600 headless next to a frame that only clears,
// and the sky a race start loads.
// The frame loads the game from Data/ under the working folder; missing files draw untextured.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "assets/outline_font.h"
#include "bench_context.h"
#include "game/game_setup.h"
#include "platform/clock.h"
#include "platform/keys.h"
#include "platform/message_box.h"
#include "race/race.h"
#include "race/race_screen.h"
#include "race/race_start.h"
#include "standalone_race.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

// Index of the built-in track with the most centre points.
int LongestTrack() {
  int longest = 0;
  size_t most = 0;
  for (int i = 0; i < BuiltInTrackCount; ++i) {
    const size_t points = BuiltInTrackCurve(i).points.size();
    if (points > most) {
      most = points;
      longest = i;
    }
  }
  return longest;
}

// The five calls of a running frame, with Up held, on a race of its own (no GL needed).
void BM_SimulationStep(benchmark::State& state) {
  StandaloneRace own(LongestTrack());
  for (auto _ : state) {
    own.race.simulate();
    own.race.handleInput();
    benchmark::DoNotOptimize(own.player.position);
  }
  state.SetLabel(std::to_string(own.track.curve.points.size()) + " centre points");
}
BENCHMARK(BM_SimulationStep);

// A context set up as the game window sets it, the game loaded, and a race running on the
// longest track in the chase view.
void SetUpRace() {
  static bool done = false;
  if (done) return;
  done = true;
  LoadGameQuietly();
  static std::time_t now = 1'000'000;
  platform::SetCalendarClock([] { return now; });
  SelectedTrackIndex = static_cast<int16_t>(LongestTrack());
  SelectedTrack = &TrackTable[SelectedTrackIndex];
  StartSelectedRace();
  Races[0].view = Race::ChaseView;
  now += 5;  // past the countdown: the frame runs the simulation step and the running texts
}

void BM_RaceFrame(benchmark::State& state) {
  SetUpRace();
  for (auto _ : state) {
    DrawRaceScreen();
    glFinish();
  }
}
BENCHMARK(BM_RaceFrame)->Unit(benchmark::kMillisecond);

void BM_ClearOnlyFrame(benchmark::State& state) {
  SetUpRace();
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFinish();
  }
}
BENCHMARK(BM_ClearOnlyFrame)->Unit(benchmark::kMillisecond);

// What a race start adds for its sky: the raced track's picture read, decoded and made a
// texture, the previous track's sky deleted (two tracks in turn).
void BM_RaceStartSky(benchmark::State& state) {
  SetUpRace();
  int index = 0;
  for (auto _ : state) {
    UseSkyOf(TrackTable[index]);
    glFinish();
    index = 1 - index;
  }
  UseSkyOf(*SelectedTrack);
}
BENCHMARK(BM_RaceStartSky)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
