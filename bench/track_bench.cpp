// Benchmarks of the track subsystem: defining the built-in tracks and compiling the road list.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/headless_gl.h"
#include "track/track.h"
#include "track/track_definitions.h"

namespace {

platform::HeadlessGl& Context() {
  static std::unique_ptr<platform::HeadlessGl> gl = platform::HeadlessGl::Create(800, 600);
  if (!gl) {
    std::fprintf(stderr, "no headless GL context\n");
    std::exit(1);
  }
  return *gl;
}

// Sampling the three centre lines: the part of DefineTracks that is pure computation.
void BM_BuiltInTrackCurves(benchmark::State& state) {
  for (auto _ : state) {
    for (int index = 0; index < BuiltInTrackCount; ++index) {
      TrackCurve curve = BuiltInTrackCurve(index);
      benchmark::DoNotOptimize(curve.points.data());
    }
  }
}
BENCHMARK(BM_BuiltInTrackCurves);

// DefineTracks in a folder without Data/: every texture and banner load fails at once.
void BM_DefineTracksWithoutTextures(benchmark::State& state) {
  Context().makeCurrent();
  const std::filesystem::path previous = std::filesystem::current_path();
  const std::filesystem::path empty =
      std::filesystem::temp_directory_path() / ("track_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(empty);
  std::filesystem::current_path(empty);
  for (auto _ : state) {
    DefineTracks();
    benchmark::DoNotOptimize(TrackTable[0].curve.points.data());
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(empty);
}
BENCHMARK(BM_DefineTracksWithoutTextures);

// Compiling the road and walls of "BlueSky", the longest track (520 road quads, 1,560 in all).
void BM_BuildRoadLongestTrack(benchmark::State& state) {
  Context().makeCurrent();
  Track track;
  track.curve = BuiltInTrackCurve(1);
  for (auto _ : state) {
    track.buildRoad();
    glFinish();
  }
  glDeleteLists(track.roadList, 1);
}
BENCHMARK(BM_BuildRoadLongestTrack)->Unit(benchmark::kMicrosecond);

// For comparison: drawing that list once, as the race does every frame (software rasteriser,
// road seen from above filling the 800 by 600 frame).
void BM_DrawRoadListLongestTrack(benchmark::State& state) {
  Context().makeCurrent();
  Track track;
  track.curve = BuiltInTrackCurve(1);
  track.buildRoad();
  glViewport(0, 0, 800, 600);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-32, 18, -42, 10, -10, 10);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(90, 1, 0, 0);
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT);
    glCallList(track.roadList);
    glFinish();
  }
  glDeleteLists(track.roadList, 1);
}
BENCHMARK(BM_DrawRoadListLongestTrack)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
