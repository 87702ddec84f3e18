// Glyph rebuild: a layout whose names hold 40 distinct CJK characters gets its glyphs rendered
// anew in the three sizes, as on every store. Budget: 40 ms on one core.
#include "layout/TLayout.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_RebuildFortyCjkGlyphs(benchmark::State& state) {
    TLayout layout;
    for (int i = 0; i < 40; ++i)
        layout.controlName.push_back(static_cast<char16_t>(0x4E00 + 97 * i)); // spread over the block
    for (auto _ : state) {
        layout.RebuildGlyphs();
        benchmark::DoNotOptimize(layout.glyphs.data());
    }
    if (layout.glyphs.size() != 120)
        state.SkipWithError("expected one glyph per character and size");
}
BENCHMARK(BM_RebuildFortyCjkGlyphs)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
