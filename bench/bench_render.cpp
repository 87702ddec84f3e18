// One repaint of a busy 320 x 240 page (30 objects: frames, gradients, captions in every size,
// icons, both slider orientations, hot spots) over the built-in background. Budget: 1 ms on one core.
#include "TestPages.h"

#include "layout/TLayout.h"
#include "layout/TUserPage.h"
#include "render/FaceDrawing.h"
#include "render/PageDrawing.h"

#include <benchmark/benchmark.h>

namespace {

void PaintBusyPage(benchmark::State& state) {
    TLayout layout;
    const TUserPage& page = AddBusyPage(layout);
    const TUserObject* selected = state.range(0) != 0 ? page.objects[5].get() : nullptr;
    Surface surface(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        PaintPage(surface, page, selected);
        benchmark::DoNotOptimize(surface.Data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PaintBusyPage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The largest single face: a whole-page radial gradient.
void FullPageGradient(benchmark::State& state) {
    Surface surface(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        DrawGradient(surface, 4, MakeArgb(200, 120, 40), MakeArgb(10, 20, 30), {0, 0, kScreenWidth, kScreenHeight});
        benchmark::DoNotOptimize(surface.Data());
    }
}
BENCHMARK(FullPageGradient)->Unit(benchmark::kMicrosecond);

void Caption(benchmark::State& state) {
    TLayout layout;
    Surface surface(kScreenWidth, kScreenHeight);
    for (auto _ : state) {
        DrawGlyphText(surface, layout.builtinLibrary->glyphs, u"Living Room Lights", 160, 120, kWhite, 3);
        benchmark::DoNotOptimize(surface.Data());
    }
}
BENCHMARK(Caption)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
