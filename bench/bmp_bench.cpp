// Decode throughput of 512 by 512 bitmaps (24-bit and 8-bit run-length) beside a plain copy of
// the same file bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "assets/dib_decoder.h"
#include "formats/bmp_writer.h"

namespace {

constexpr int kSize = 512;

// A picture of 8-pixel blocks in 64 colours: runs long enough for run-length coding to pay,
// varied enough that the 24-bit file is not trivially regular.
formats::Picture BlockPicture() {
  formats::Picture picture(kSize, kSize);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      int bx = x / 8, by = y / 8;
      picture.set(
          x, y,
          {static_cast<uint8_t>((bx * 37 + by * 11) % 4 * 85),
           static_cast<uint8_t>((bx + by * 3) % 4 * 85), static_cast<uint8_t>(by % 4 * 85)});
    }
  }
  return picture;
}

const std::vector<uint8_t>& File(formats::BmpPixelFormat format) {
  static const formats::Picture picture = BlockPicture();
  static std::vector<uint8_t> files[2];
  auto& file = files[format == formats::BmpPixelFormat::Rle8];
  if (file.empty()) {
    formats::BmpOptions options;
    options.format = format;
    file = formats::EncodeBmp(picture, options);
  }
  return file;
}

void Decode(benchmark::State& state, formats::BmpPixelFormat format) {
  const std::vector<uint8_t>& file = File(format);
  RgbImage image;
  for (auto _ : state) {
    if (DecodeDib(file, image) != DibStatus::Ok) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * file.size());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSize * kSize);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

void Copy(benchmark::State& state, formats::BmpPixelFormat format) {
  const std::vector<uint8_t>& file = File(format);
  std::vector<uint8_t> copy(file.size());
  for (auto _ : state) {
    std::memcpy(copy.data(), file.data(), file.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * file.size());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSize * kSize);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}

void BM_Decode512Rgb24(benchmark::State& state) {
  Decode(state, formats::BmpPixelFormat::Rgb24);
}
void BM_Memcpy512Rgb24File(benchmark::State& state) {
  Copy(state, formats::BmpPixelFormat::Rgb24);
}
void BM_Decode512Rle8(benchmark::State& state) {
  Decode(state, formats::BmpPixelFormat::Rle8);
}
void BM_Memcpy512Rle8File(benchmark::State& state) {
  Copy(state, formats::BmpPixelFormat::Rle8);
}

BENCHMARK(BM_Decode512Rgb24);
BENCHMARK(BM_Memcpy512Rgb24File);
BENCHMARK(BM_Decode512Rle8);
BENCHMARK(BM_Memcpy512Rle8File);

}  // namespace

BENCHMARK_MAIN();
