// Cost of the picture formats the generated content uses: writing a 1024 by 1024 sky-like
// picture in each format (content generation) and decoding it with the game's reader (start-up
// loading), so the choice of formats can be weighed against load time.
#include <benchmark/benchmark.h>

#include <span>

#include "assets/dib_decoder.h"
#include "formats/bmp_writer.h"

namespace {

formats::Picture SkyLike() {
  formats::Picture p(1024, 1024);
  for (int y = 0; y < 1024; ++y)
    for (int x = 0; x < 1024; ++x) {
      uint32_t h = (x * 73856093u) ^ (y * 19349663u);
      p.set(x, y, {uint8_t(40 + y / 8), uint8_t(90 + y / 10 + (h & 7)), uint8_t(200 - y / 12)});
    }
  return p;
}

formats::BmpOptions Options(int format) {
  formats::BmpOptions o;
  o.format = static_cast<formats::BmpPixelFormat>(format);
  return o;
}

void BM_EncodeBmp(benchmark::State& state) {
  static const formats::Picture picture = SkyLike();
  const auto options = Options(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(formats::EncodeBmp(picture, options));
}

void BM_DecodeGeneratedBmp(benchmark::State& state) {
  static const formats::Picture picture = SkyLike();
  const auto bytes = formats::EncodeBmp(picture, Options(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    RgbImage image;
    benchmark::DoNotOptimize(DecodeDib(std::span(bytes.data(), bytes.size()), image));
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

// 0 Rgb24, 1 Rgb32, 2 Rgb555, 3 Indexed8, 4 Rle8, 5 Indexed4, 6 Rle4, 7 Mono1.
BENCHMARK(BM_EncodeBmp)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeGeneratedBmp)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
