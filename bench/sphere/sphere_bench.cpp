// Sphere on a 1920 x 1080 Canvas: one step and one image start, with the
// default controls and with the heaviest ones (Size 250, Symmetry 128,
// 20 x 20 tiles, mirrored stamps of random size without wedge or tile clip,
// which copy the most pixels).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/support/module_screen.h"
#include "platform/kernel/clock.h"
#include "saver/modules/sphere.h"

namespace {

struct SphereRun : bench::ModuleScreen {
    explicit SphereRun(bool heaviest) : ModuleScreen(ModuleSphere) {
        platform::UseTestClock(1000);  // no time-out restarts while measuring
        if (heaviest) {
            record->value[SphereSizeSlot] = 250;
            record->value[SphereSymmetrySlot] = 128;
            record->value[SphereTypeSlot] = SphereMirror | SphereRandomSize;
            record->value[SphereXTilesSlot] = 20;
            record->value[SphereYTilesSlot] = 20;
        }
        SphereInit(record);
        std::srand(1);
        SphereStart(record);
    }
    ~SphereRun() {
        SphereFree(record);
        platform::UseRealClock();
    }
};

void RunStep(benchmark::State& state, bool heaviest) {
    SphereRun run(heaviest);
    for (auto _ : state) SphereStep(run.record);
}

void RunStart(benchmark::State& state, bool heaviest) {
    SphereRun run(heaviest);
    for (auto _ : state) SphereStart(run.record);
}

void BM_SphereStepDefault(benchmark::State& state) { RunStep(state, false); }
void BM_SphereStepHeaviest(benchmark::State& state) { RunStep(state, true); }
void BM_SphereImageStartDefault(benchmark::State& state) { RunStart(state, false); }
void BM_SphereImageStartHeaviest(benchmark::State& state) { RunStart(state, true); }

}  // namespace

BENCHMARK(BM_SphereStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SphereStepHeaviest)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SphereImageStartDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SphereImageStartHeaviest)->Unit(benchmark::kMillisecond);
