// Benchmarks of the track editor: one change and its check on a track of 400 control points, and
// one frame of the editor's map of that track at 800 by 600 in the headless context.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>

#include "assets/outline_font.h"
#include "bench_context.h"
#include "editor/editor_screen.h"
#include "editor/editor_session.h"

namespace {

// A wavy loop of 101 waypoints (400 control points) that passes every check.
EditedTrack LongTrack() {
  EditedTrack track = NewOvalTrack("Long");
  track.waypoints = {Vector3d(0, 0, 0)};
  const int count = 99;
  const double radius = 150;
  for (int i = 1; i <= count; ++i) {
    const double angle = 6.2831853 * (0.03 + 0.94 * i / (count + 1));
    const double r = radius + 6 * std::sin(i * 0.9);
    track.waypoints.push_back(Vector3d(r * std::sin(angle), 2 + 2 * std::sin(i * 0.3),
                                       r * (std::cos(angle) - 1) + 6 * (1 - std::cos(angle))));
  }
  track.waypoints.push_back(Vector3d(-12, 0, 0));
  return track;
}

void BM_ChangeAndCheck(benchmark::State& state) {
  TrackEditing editing(LongTrack(), {"Sunny", "BlueSky", "Yello"});
  if (!editing.check().good()) state.SkipWithError(editing.check().faults[0].reason.c_str());
  double shift = 0.1;
  for (auto _ : state) {
    const Vector3d& w = editing.track().waypoints[50];
    editing.moveTo(50, w.x + shift, w.z);
    shift = -shift;
    benchmark::DoNotOptimize(editing.check().faults.size());
  }
  state.counters["samples"] = static_cast<double>(editing.check().line.size());
}

void BM_EditorFrame(benchmark::State& state) {
  UseGameContext();
  BuildFont();
  OpenNewTrackEditor();
  Editor.editing.emplace(LongTrack(), std::vector<std::string>{});
  for (auto _ : state) {
    DrawTrackEditor();
    glFinish();
  }
}

}  // namespace

BENCHMARK(BM_ChangeAndCheck)->Name("EditorChangeAndCheck400Points")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorFrame)
    ->Name("EditorFrame400Points")
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
