// Benchmarks of tracks read from files: reading and checking 100 track files as the game does
// at start-up, and a race frame on a 400-point track next to one on the longest built-in track.
#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <malloc.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "assets/text_width.h"
#include "bench_context.h"
#include "content/track_files.h"
#include "game/game_setup.h"
#include "platform/clock.h"
#include "race/race.h"
#include "race/race_screen.h"
#include "race/race_start.h"
#include "track/file_tracks.h"
#include "track/offered_tracks.h"
#include "track/track.h"
#include "track/track_definitions.h"
#include "track/track_sources.h"

namespace {

// 100 track files: the four shipped ones 25 times over, each under its own name.
void BM_ReadHundredTrackFiles(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("file_track_bench_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const auto shipped = content::ShippedTrackFiles();
  for (int i = 0; i < 100; ++i) {
    std::string text = shipped[i % shipped.size()].text;
    const size_t at = text.find("\nname ") + 6;
    text.insert(at, std::to_string(i));
    std::ofstream(folder / ("t" + std::to_string(1000 + i) + ".track")) << text;
  }
  size_t found = 0;
  for (auto _ : state) {
    std::vector<std::string> messages;
    found = FindTrackFiles({folder.string()}, {"Sunny", "BlueSky", "Yello"}, messages).size();
    benchmark::DoNotOptimize(found);
  }
  state.SetLabel(std::to_string(found) + " tracks read");
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReadHundredTrackFiles)->Unit(benchmark::kMillisecond);

// What the game's reader does at start-up with `state.range(0)` valid files in the player's
// folder (the shipped tracks over and over, each under its own name): it reads only as many as
// the track table holds and lists the rest. Also the heap the offered entries keep (their
// control points and checked centre lines), which the track table then takes over.
void BM_OfferTracksOfAFolder(benchmark::State& state) {
  const std::filesystem::path home =
      std::filesystem::temp_directory_path() / ("file_track_offer_" + std::to_string(getpid()));
  const std::filesystem::path folder = home / "quillon/tracks";
  std::filesystem::create_directories(folder);
  const auto shipped = content::ShippedTrackFiles();
  for (int i = 0; i < state.range(0); ++i) {
    std::string text = shipped[i % shipped.size()].text;
    text.insert(text.find("\nname ") + 6, std::to_string(i));
    std::ofstream(folder / ("t" + std::to_string(10000 + i) + ".track")) << text;
  }
  setenv("XDG_DATA_HOME", home.c_str(), 1);
  TextWidth("");  // the font read once, as at any start
  size_t offered = 0;
  double keptMb = 0;
  for (auto _ : state) {
    const size_t before = mallinfo2().uordblks;
    std::vector<std::string> messages;
    const std::vector<TrackFileEntry> entries = OfferedTrackFiles(messages);
    keptMb = static_cast<double>(mallinfo2().uordblks - before) / (1 << 20);
    offered = entries.size();
    benchmark::DoNotOptimize(entries.data());
  }
  state.counters["kept_MB"] = keptMb;
  state.SetLabel(std::to_string(offered) + " tracks offered");
  std::filesystem::remove_all(home);
}
BENCHMARK(BM_OfferTracksOfAFolder)->Arg(0)->Arg(2000)->Unit(benchmark::kMillisecond);

// A ring of 100 groups (400 control points) of radius 150 through the origin heading +x, at 40
// steps: 4,041 centre points about 0.23 apart, as dense as the built-in lines.
TrackFileContent Ring400() {
  TrackFileContent c;
  c.name = "Ring";
  c.steps = 40;
  c.halfWidth = 0.7f;
  c.laps = 2;
  const double r = 150, step = 2 * M_PI / 100, k = 4.0 / 3.0 * std::tan(step / 4) * r;
  const auto at = [&](double a) { return Vector3d(r * std::sin(a), 0, -r + r * std::cos(a)); };
  const auto along = [&](double a, double s) {
    return Vector3d(s * std::cos(a), 0, -s * std::sin(a));
  };
  for (int g = 0; g < 100; ++g) {
    const double a0 = g * step, a1 = (g + 1) * step;
    c.controlPoints.push_back(at(a0));
    c.controlPoints.push_back(at(a0) + along(a0, k));
    c.controlPoints.push_back(at(a1) + along(a1, -k));
    c.controlPoints.push_back(g == 99 ? Vector3d(0, 0, 0) : at(a1));
  }
  return c;
}

void StartRaceOn(int index) {
  static bool loaded = false;
  if (!loaded) {
    LoadGameQuietly();
    SetTrackShape(TrackTable[BuiltInTrackCount], Ring400());
    TrackCount = BuiltInTrackCount + 1;
    loaded = true;
  }
  static std::time_t now = 1'000'000;
  platform::SetCalendarClock([] { return now; });
  SelectedTrackIndex = static_cast<int16_t>(index);
  SelectedTrack = &TrackTable[index];
  StartSelectedRace();
  Races[0].view = Race::ChaseView;
  now += 5;  // past the countdown
}

void RaceFrames(benchmark::State& state, int index) {
  StartRaceOn(index);
  for (auto _ : state) {
    DrawRaceScreen();
    glFinish();
  }
  state.SetLabel(std::to_string(TrackTable[index].curve.points.size()) + " centre points");
}

// "BlueSky" (521 centre points), the longest built-in track.
void BM_RaceFrameLongestBuiltIn(benchmark::State& state) {
  RaceFrames(state, 1);
}
BENCHMARK(BM_RaceFrameLongestBuiltIn)->Unit(benchmark::kMillisecond);

void BM_RaceFrame400PointFileTrack(benchmark::State& state) {
  RaceFrames(state, BuiltInTrackCount);
}
BENCHMARK(BM_RaceFrame400PointFileTrack)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
