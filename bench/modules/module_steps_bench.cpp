// Every drawing module's step (the Random module aside) at 1920 x 1080 and
// 3840 x 2160, with the controls a run starts with ("default") and with
// every control at its highest value ("heaviest").  Steps run as the saver runs them, the clock
// moving on by a frame (1/60 s) between two steps, so that modules which
// wait for their drawing time idle as they do in a run.  The time is the
// mean of a step; the counters are the dearest single step (max_ms) and the
// share of steps that did not idle (drew).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

#include "bench/support/module_screen.h"
#include "platform/kernel/clock.h"
#include "saver/framework/module_table.h"
#include "saver/modules/modules.h"
#include "saver/palette/palette_settings.h"
#include "saver/settings/settings_store.h"

namespace {

constexpr DWORD FrameMilliseconds = 16;

void HighestValues(ModuleRecord& record) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (record.defined[slot]) record.value[slot] = record.max[slot];
    }
}

void ModuleStep(benchmark::State& state) {
    const int module = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    const bool heaviest = state.range(3) != 0;
    state.SetLabel(std::string(ModuleNames[module]) + (heaviest ? " heaviest" : " default"));

    platform::UseTestClock(100000);
    // The Random module switches among the saved displays, palettes included.
    static PaletteSettings palette;
    CurrentPalette = &palette;
    InstallSettingsStore();
    InstallDrawingModules();
    bench::ModuleScreen screen(module, width, height);
    ModuleRecord* record = screen.record;
    const ModuleOperations& operations = ModuleOperationTable[module];
    record->step = operations.step;
    record->start = operations.start;
    if (heaviest) HighestValues(*record);
    operations.init(record);
    std::srand(1);
    operations.start(record);

    double longest = 0;
    std::int64_t drew = 0;
    for (auto _ : state) {
        platform::AdvanceTestClock(FrameMilliseconds);
        const auto begin = std::chrono::steady_clock::now();
        const LONG result = operations.step(record);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        state.SetIterationTime(took.count());
        longest = std::max(longest, took.count());
        if (result != StepIdle) ++drew;
    }
    state.counters["max_ms"] = longest * 1000;
    state.counters["drew"] = static_cast<double>(drew) / static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
    operations.free(record);
    CurrentPalette = nullptr;
    platform::UseRealClock();
}

void Cases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"module", "w", "h", "heaviest"});
    // The Random module draws nothing itself: its cost, switching displays,
    // is the frame bench's (bench/runtime).
    for (int module = 0; module < ModuleRandom; ++module)
        for (auto [w, h] : {std::pair{1920, 1080}, std::pair{3840, 2160}})
            for (int heaviest : {0, 1}) b->Args({module, w, h, heaviest});
}

}  // namespace

BENCHMARK(ModuleStep)->Apply(Cases)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(1.0);
