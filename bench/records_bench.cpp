// Benchmarks of the best times: the finish (read the file anew, add the race, write it
// atomically with its flush) and the per-frame look-up of the track selection.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "records/best_times.h"

namespace {

// A private data folder holding a full file: ten races on each of three tracks.
struct DataFolder {
  DataFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillon_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
    setenv("XDG_DATA_HOME", path.c_str(), 1);
    for (const char* track : {"Sunny", "BlueSky", "Yello"})
      for (int i = 0; i < 10; ++i) store.recordFinish({track, "SMiLE", 200 + i, 1796598600});
  }
  ~DataFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path path;
  BestTimes store;
};

void BM_RecordFinish(benchmark::State& state) {
  DataFolder data;
  int64_t seconds = 199;  // each race a new best, so each one is written
  for (auto _ : state)
    benchmark::DoNotOptimize(data.store.recordFinish({"Sunny", "SMiLE", seconds--, 0}));
}
BENCHMARK(BM_RecordFinish)->Unit(benchmark::kMicrosecond);

void BM_BestTimeLookup(benchmark::State& state) {
  DataFolder data;
  for (auto _ : state) benchmark::DoNotOptimize(data.store.best("Yello", "SMiLE"));
}
BENCHMARK(BM_BestTimeLookup);

}  // namespace

BENCHMARK_MAIN();
