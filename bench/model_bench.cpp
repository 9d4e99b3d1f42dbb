// Model loading speed: a 2,048-triangle model parsed from memory, read from a file, and fully
// loaded (file, parse, display list) in a headless GL context.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "assets/model.h"
#include "assets/ms3d_format.h"
#include "formats/ms3d_writer.h"
#include "platform/headless_gl.h"
#include "support/model_meshes.h"

namespace {

const std::vector<uint8_t>& GridBytes() {
  static const std::vector<uint8_t> bytes = formats::EncodeMs3d(testing_support::GridMesh(32));
  return bytes;
}

std::string GridFile() {
  static const std::string path = [] {
    std::string p = (std::filesystem::temp_directory_path() / "quillon-bench-grid.ms3d").string();
    formats::WriteMs3dFile(p, testing_support::GridMesh(32));
    return p;
  }();
  return path;
}

void BM_ParseMs3d(benchmark::State& state) {
  const std::vector<uint8_t>& bytes = GridBytes();
  for (auto _ : state) {
    Ms3dMesh mesh;
    benchmark::DoNotOptimize(ParseMs3d(bytes.data(), bytes.size(), "Data", mesh));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.counters["triangles"] = 2048;
}
BENCHMARK(BM_ParseMs3d);

// The floor: reading the same file into memory without looking at it.
void BM_ReadFileOnly(benchmark::State& state) {
  std::string path = GridFile();
  std::vector<uint8_t> buffer(GridBytes().size() + 1);
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GridBytes().size()));
}
BENCHMARK(BM_ReadFileOnly);

void BM_ModelLoad(benchmark::State& state) {
  auto gl = platform::HeadlessGl::Create(64, 64);
  if (!gl) {
    state.SkipWithError("no headless GL context");
    return;
  }
  std::string path = GridFile();
  Model model;
  for (auto _ : state) {
    benchmark::DoNotOptimize(model.load(path.c_str()));
  }
  glFinish();
  state.counters["triangles"] = model.triangleCount();
  model.clear();
}
BENCHMARK(BM_ModelLoad)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
