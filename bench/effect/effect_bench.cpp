// Every Effect kind once over a full 1920 x 1080 picture, with the default
// strengths (100 and 80) and, for the nested frames and ellipses, with the
// smallest (2), which nest the most.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/support/module_screen.h"
#include "saver/modules/effect.h"

namespace {

// A picture with every palette entry in it, so that sampling and folding
// see varied colours.
void PaintPicture(HDC dc) {
    for (int band = 0; band < bench::ScreenWidth / 8; ++band) {
        HBRUSH brush = CreateSolidBrush(PALETTEINDEX(static_cast<WORD>(band % 236)));
        const RECT r{band * 8, 0, band * 8 + 8, bench::ScreenHeight};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
}

void RunKind(benchmark::State& state, LONG strength) {
    bench::Screen canvas(bench::ScreenWidth, bench::ScreenHeight);
    PaintPicture(canvas.dc);
    SetStretchBltMode(canvas.dc, COLORONCOLOR);
    Effect.w1 = bench::ScreenWidth - 1;
    Effect.h1 = bench::ScreenHeight - 1;
    Effect.w2 = bench::ScreenWidth / 2;
    Effect.h2 = bench::ScreenHeight / 2;
    Effect.kind = static_cast<LONG>(state.range(0));
    Effect.xStrength = strength > 0 ? strength : 100;
    Effect.yStrength = strength > 0 ? strength : 80;
    std::srand(1);
    for (auto _ : state) DoEffect(canvas.dc);
}

void BM_EffectKind(benchmark::State& state) { RunKind(state, 0); }
void BM_EffectKindSmallestSteps(benchmark::State& state) { RunKind(state, 2); }

}  // namespace

BENCHMARK(BM_EffectKind)->DenseRange(0, 25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EffectKindSmallestSteps)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
