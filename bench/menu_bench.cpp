// Benchmarks of the menu screens: one drawn frame of each at 800 by 600 in the headless context,
// next to a frame that only clears, and one GameSetup with every menu picture present.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "assets/outline_font.h"
#include "bench_context.h"
#include "formats/bmp_writer.h"
#include "menu/car_selection.h"
#include "game/game_setup.h"
#include "menu/main_menu.h"
#include "menu/track_selection.h"

namespace {

// A context set up as the game window sets it, with the game loaded from a scratch folder
// holding 256 by 256 menu pictures (the car models are missing: the cars draw nothing).
void SetUpGame() {
  static bool done = false;
  if (done) return;
  done = true;
  UseGameContext();
  const auto previous = std::filesystem::current_path();
  const auto scratch =
      std::filesystem::temp_directory_path() / ("menu_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(scratch / "Data");
  for (const char* name : {"menuMain.bmp", "menuCar.bmp", "menuTrack.bmp"}) {
    formats::WriteBmpFile((scratch / "Data" / name).string(),
                          formats::Picture(256, 256, {90, 120, 200}));
  }
  std::filesystem::current_path(scratch);
  GameSetup();
  BuildFont();
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(scratch);
}

template <void (*Draw)()>
void BM_Frame(benchmark::State& state) {
  SetUpGame();
  for (auto _ : state) {
    Draw();
    glFinish();
  }
}

void ClearOnly() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

BENCHMARK(BM_Frame<ClearOnly>)->Name("ClearOnlyFrame")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame<DrawMainMenu>)->Name("MainMenuFrame")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame<DrawCarSelection>)->Name("CarSelectionFrame")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame<DrawTrackSelection>)->Name("TrackSelectionFrame")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
