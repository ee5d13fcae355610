// One Star step on a 1920 x 1080 Canvas: with the default controls, and with
// the heaviest ones (99 stars of size 320, ten-sided doubly nested filled
// stamps, every revolve and the spin at their limits, Speed 60, Symmetry
// 128).  Over 20 x 20 tiles the heaviest step costs minutes, growing with the
// symmetry, so the tiled runs measure Symmetry 1 and 4.  The heavy runs time
// the first step after a start, once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "bench/support/module_screen.h"
#include "saver/modules/star.h"

namespace {

void RunStar(benchmark::State& state, const std::vector<std::pair<int, LONG>>& controls) {
    bench::ModuleScreen screen(ModuleStar);
    ModuleRecord* record = screen.record;
    for (auto [slot, value] : controls) record->value[slot] = value;
    StarInit(record);
    std::srand(1);
    StarStart(record);
    for (auto _ : state) {
        StarStep(record);
    }
    StarFree(record);
}

const std::vector<std::pair<int, LONG>> Heaviest = {
    {StarCountSlot, 99},    {StarSizeSlot, 320},    {StarSpeedSlot, 60},       {StarXRevolveSlot, 99},
    {StarYRevolveSlot, 99}, {StarZRevolveSlot, 99}, {StarRotationSlot, 100},   {StarSidesSlot, 10},
    {StarTypeSlot, 6},      {StarSymmetrySlot, 128},
};

void BM_StarStepDefault(benchmark::State& state) { RunStar(state, {}); }
void BM_StarStepHeaviest(benchmark::State& state) { RunStar(state, Heaviest); }
void BM_StarStepHeaviestTiled(benchmark::State& state) {
    auto controls = Heaviest;  // later entries win
    controls.insert(controls.end(),
                    {{StarXTilesSlot, 20}, {StarYTilesSlot, 20}, {StarSymmetrySlot, static_cast<LONG>(state.range(0))}});
    RunStar(state, controls);
}

}  // namespace

BENCHMARK(BM_StarStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StarStepHeaviest)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StarStepHeaviestTiled)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(1);
