// Decode throughput of 512 by 512 bitmaps (24-bit and 8-bit run-length) beside a plain copy of
// the same file bytes, and the peak heap of decoding small files that claim huge pictures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "assets/dib_decoder.h"
#include "formats/bmp_writer.h"

// Heap use of the whole program, counted by replacing the global allocation functions.
std::atomic<size_t> gHeapNow{0}, gHeapPeak{0};

void* CountedAlloc(size_t size) {
  auto* block = static_cast<size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (!block) throw std::bad_alloc();
  *block = size;
  size_t now = gHeapNow += size, peak = gHeapPeak;
  while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
  }
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}

void CountedFree(void* p) noexcept {
  if (!p) return;
  char* block = static_cast<char*>(p) - sizeof(std::max_align_t);
  gHeapNow -= *reinterpret_cast<size_t*>(block);
  std::free(block);
}

void* operator new(size_t size) {
  return CountedAlloc(size);
}
void* operator new[](size_t size) {
  return CountedAlloc(size);
}
void operator delete(void* p) noexcept {
  CountedFree(p);
}
void operator delete[](void* p) noexcept {
  CountedFree(p);
}
void operator delete(void* p, size_t) noexcept {
  CountedFree(p);
}
void operator delete[](void* p, size_t) noexcept {
  CountedFree(p);
}

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

// A run-length file of a few bytes whose header claims width by height, with `stream` as its
// pixel data: the picture the decoder would have to allocate is 3 * width * height bytes.
std::vector<unsigned char> Claim(int32_t width, int32_t height, std::vector<unsigned char> stream) {
  std::vector<unsigned char> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54 + 8, 0, 0, 0};
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<unsigned char>(v >> 8 * i));
  };
  put(40, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);
  put(8, 2);
  put(1, 4);                              // 8-bit run-length
  for (int i = 0; i < 3; ++i) put(0, 4);  // image size, resolutions
  put(2, 4);                              // two colours
  put(0, 4);
  put(0x00FF0000, 4);
  put(0x000000FF, 4);
  file.insert(file.end(), stream.begin(), stream.end());
  return file;
}

// Peak heap above the file's own bytes while decoding it, and whether it decoded.
void PeakOfClaim(benchmark::State& state, int32_t width, int32_t height,
                 std::vector<unsigned char> stream) {
  const std::vector<unsigned char> file = Claim(width, height, std::move(stream));
  RgbImage image;
  size_t peak = 0;
  DibStatus status = DibStatus::Ok;
  for (auto _ : state) {
    image = RgbImage{};
    const size_t before = gHeapNow;
    gHeapPeak = before;
    status = DecodeDib(file, image);
    peak = std::max(peak, gHeapPeak - before);
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.counters["file_bytes"] = static_cast<double>(file.size());
  state.counters["peak_heap_bytes"] = static_cast<double>(peak);
  state.counters["decoded"] = status == DibStatus::Ok;
}

void BM_Peak16384SquareInTwoBytes(benchmark::State& state) {
  PeakOfClaim(state, 16384, 16384, {0, 1});
}
void BM_Peak16384SquareNoStream(benchmark::State& state) {
  PeakOfClaim(state, 16384, 16384, {});
}
// The largest claim any small file may make: 1024 by 1024, all black.
void BM_Peak1024SquareInTwoBytes(benchmark::State& state) {
  PeakOfClaim(state, 1024, 1024, {0, 1});
}

// Filler: the end of bitmap at once, then zero bytes that no run writes from.
void BM_PeakFiller16384SquareAnd1MiB(benchmark::State& state) {
  std::vector<unsigned char> stream(2 + (1 << 20), 0);
  stream[1] = 1;
  PeakOfClaim(state, 16384, 16384, std::move(stream));
}
void BM_PeakFiller8192SquareAnd256KiB(benchmark::State& state) {
  std::vector<unsigned char> stream(2 + (1 << 18), 0);
  stream[1] = 1;
  PeakOfClaim(state, 8192, 8192, std::move(stream));
}

BENCHMARK(BM_PeakFiller16384SquareAnd1MiB)->Iterations(1);
BENCHMARK(BM_PeakFiller8192SquareAnd256KiB)->Iterations(1);
BENCHMARK(BM_Peak16384SquareInTwoBytes);
BENCHMARK(BM_Peak16384SquareNoStream);
BENCHMARK(BM_Peak1024SquareInTwoBytes);
BENCHMARK(BM_Decode512Rgb24);
BENCHMARK(BM_Memcpy512Rgb24File);
BENCHMARK(BM_Decode512Rle8);
BENCHMARK(BM_Memcpy512Rle8File);

}  // namespace

BENCHMARK_MAIN();
