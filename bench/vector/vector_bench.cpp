// One step of the Polygon and of the Vortex module on a 1920 x 1080 Canvas,
// with the default controls and with the heaviest ones.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/support/module_screen.h"
#include "platform/kernel/clock.h"
#include "saver/modules/polygon.h"
#include "saver/modules/vortex.h"

namespace {

void RunPolygon(benchmark::State& state, bool heaviest) {
    platform::UseTestClock(1000);  // no re-seeding while measuring
    bench::ModuleScreen screen(ModulePolygon);
    ModuleRecord* record = screen.record;
    if (heaviest) {
        record->value[PolygonVerticesSlot] = 20;
        record->value[PolygonSymmetrySlot] = 50;
        record->value[PolygonSpeedSlot] = 320;
        record->value[PolygonOutlineSlot] = 1;
        record->value[PolygonXTilesSlot] = 20;
        record->value[PolygonYTilesSlot] = 20;
    }
    std::srand(1);
    PolygonStart(record);
    for (auto _ : state) {
        PolygonStep(record);
    }
    platform::UseRealClock();
}

// With no hold and the clock moving on a millisecond a step, a finished
// vortex gives way to the next at once, so nearly every measured step draws.
void RunVortex(benchmark::State& state, bool heaviest) {
    platform::UseTestClock(1000);
    bench::ModuleScreen screen(ModuleVortex);
    ModuleRecord* record = screen.record;
    record->value[VortexDurationSlot] = 0;
    if (heaviest) {
        record->value[VortexPointsSlot] = 199;
        record->value[VortexAmplitudeSlot] = 200;
        record->value[VortexCollapseSlot] = 1;
        record->value[VortexFluxAmplitudeSlot] = 400;
        record->value[VortexXTilesSlot] = 20;
        record->value[VortexYTilesSlot] = 20;
    }
    std::srand(1);
    VortexStart(record);
    for (auto _ : state) {
        platform::AdvanceTestClock(1);
        VortexStep(record);
    }
    platform::UseRealClock();
}

void BM_PolygonStepDefault(benchmark::State& state) { RunPolygon(state, false); }
void BM_PolygonStepHeaviest(benchmark::State& state) { RunPolygon(state, true); }
void BM_VortexStepDefault(benchmark::State& state) { RunVortex(state, false); }
void BM_VortexStepHeaviest(benchmark::State& state) { RunVortex(state, true); }

}  // namespace

BENCHMARK(BM_PolygonStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PolygonStepHeaviest)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_VortexStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VortexStepHeaviest)->Unit(benchmark::kMillisecond)->MinTime(2.0);
