// One Bezier frame on a 1920 x 1080 Canvas, with the default controls and
// with the heaviest ones (Symmetry 32, 20 curves, Width 200, 20 x 20 tiles).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/support/module_screen.h"
#include "platform/kernel/clock.h"
#include "saver/modules/bezier.h"

namespace {

void RunBezier(benchmark::State& state, bool heaviest) {
    platform::UseTestClock(1000);  // no time-out restarts while measuring
    benchsupport::ModuleScreen screen;
    ModuleRecord* record = screen.Open(ModuleBezier);
    if (heaviest) {
        record->value[BezierCurvesSlot] = 20;
        record->value[BezierSymmetrySlot] = 32;
        record->value[BezierWidthSlot] = 200;
        record->value[BezierXTilesSlot] = 20;
        record->value[BezierYTilesSlot] = 20;
    }
    BezierInit(record);
    std::srand(1);
    BezierStart(record);
    for (auto _ : state) {
        BezierStep(record);
    }
    BezierFree(record);
    platform::UseRealClock();
}

void BM_BezierStepDefault(benchmark::State& state) { RunBezier(state, false); }
void BM_BezierStepHeaviest(benchmark::State& state) { RunBezier(state, true); }

}  // namespace

BENCHMARK(BM_BezierStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BezierStepHeaviest)->Unit(benchmark::kMillisecond)->MinTime(2.0);
