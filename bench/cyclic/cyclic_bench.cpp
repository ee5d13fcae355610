// One Cyclic frame on a 1920 x 1080 Canvas: with the default controls, with
// the heaviest untiled ones (99 objects, Planar Symmetry 32, Diameter 320,
// 10-sided stamps nested twice, the fastest motion, a trail erased every
// frame) and with those over 20 x 20 tiles.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench/support/module_screen.h"
#include "platform/kernel/clock.h"
#include "saver/modules/cyclic.h"

namespace {

enum class Load { Default, Heaviest, HeaviestTiled };

void RunCyclic(benchmark::State& state, Load load) {
    platform::UseTestClock(1000);  // no time-out restarts while measuring
    bench::ModuleScreen screen(ModuleCyclic);
    ModuleRecord* record = screen.record;
    if (load != Load::Default) {
        record->value[CyclicObjectsSlot] = 99;
        record->value[CyclicSpasticitySlot] = 50;
        record->value[CyclicTrailSlot] = 1;
        record->value[CyclicDiameterSlot] = 320;
        record->value[CyclicSymmetrySlot] = 32;
        record->value[CyclicSidesSlot] = 10;
        record->value[CyclicTypeSlot] = 8;
    }
    if (load == Load::HeaviestTiled) {
        record->value[CyclicXTilesSlot] = 20;
        record->value[CyclicYTilesSlot] = 20;
    }
    CyclicInit(record);
    std::srand(1);
    CyclicStart(record);
    for (auto _ : state) {
        CyclicStep(record);
    }
    CyclicFree(record);
    platform::UseRealClock();
}

void BM_CyclicStepDefault(benchmark::State& state) { RunCyclic(state, Load::Default); }
void BM_CyclicStepHeaviest(benchmark::State& state) { RunCyclic(state, Load::Heaviest); }
void BM_CyclicStepHeaviestTiled(benchmark::State& state) { RunCyclic(state, Load::HeaviestTiled); }

}  // namespace

BENCHMARK(BM_CyclicStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CyclicStepHeaviest)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CyclicStepHeaviestTiled)->Unit(benchmark::kMillisecond)->Iterations(1);
