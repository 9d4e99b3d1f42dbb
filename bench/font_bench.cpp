// Outline font build time: reading and flattening the face, triangulating its 255 glyphs,
// BuildFont in a headless GL context (outlines cached, as on every F1), and compiling every
// glyph's list, which a run does only for the characters it shows.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include "assets/glyph_tessellation.h"
#include "assets/outline_font.h"
#include "platform/font_face.h"
#include "platform/headless_gl.h"

namespace {

void BM_ReadFontOutlines(benchmark::State& state) {
  for (auto _ : state) {
    platform::FontOutlines outlines = platform::ReadBoldSansOutlines();
    benchmark::DoNotOptimize(outlines.glyphs['A'].advance);
  }
}
BENCHMARK(BM_ReadFontOutlines)->Unit(benchmark::kMillisecond);

void BM_TessellateAllGlyphs(benchmark::State& state) {
  const platform::FontOutlines& outlines = platform::BoldSansOutlines();
  size_t triangles = 0;
  for (auto _ : state) {
    triangles = 0;
    for (const platform::GlyphOutline& glyph : outlines.glyphs) {
      triangles += TessellateGlyph(glyph).size() / 6;
    }
  }
  state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_TessellateAllGlyphs)->Unit(benchmark::kMillisecond);

// BuildFont as it runs after the first time (shapes cached); with compileAll, every glyph's list
// is compiled as well.
void BuildFontBench(benchmark::State& state, bool compileAll) {
  auto gl = platform::HeadlessGl::Create(64, 64);
  if (!gl) {
    state.SkipWithError("no headless GL context");
    return;
  }
  BuildFont();  // the first call reads and triangulates the face
  glDeleteLists(FontListBase, 256);
  for (auto _ : state) {
    BuildFont();
    if (compileAll) {
      for (int code = 0; code < 256; ++code) GlyphList(static_cast<unsigned char>(code));
    }
    glFinish();
    state.PauseTiming();
    glDeleteLists(FontListBase, 256);
    state.ResumeTiming();
  }
}
void BM_BuildFont(benchmark::State& state) {
  BuildFontBench(state, false);
}
BENCHMARK(BM_BuildFont)->Unit(benchmark::kMillisecond);
void BM_BuildFontAndEveryGlyphList(benchmark::State& state) {
  BuildFontBench(state, true);
}
BENCHMARK(BM_BuildFontAndEveryGlyphList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
