// The Pattern module with its default controls, for pattern types 0, 6 and
// 19 with and without turbulence: one step (three rings) and one whole
// picture at 1920 x 1080, and one step at 3840 x 2160; and the dearest
// step: type 7 summing 30 waves per pixel under the double turbulence.  Image Duration is 0
// so that painting never pauses; the step figures include the step that
// completes a picture and prepares the next.  max_step_ms is the slowest
// single step seen, in thread CPU time, so that a busy machine's preemption
// does not pose as a slow step.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

#include "bench/support/cpu_time.h"
#include "bench/support/screen.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/modules/pattern.h"

namespace {

struct Run {
    Run(int width, int height, LONG type, LONG turbulence) : screen(width, height) {
        platform::UseTestClock(1000);
        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[ModulePattern];
        record->width = width;
        record->height = height;
        record->dc = screen.dc;
        record->value[PatternTypeSlot] = type;
        record->value[PatternTurbulenceSlot] = turbulence;
        record->value[PatternDurationSlot] = 0;
        PatternInit(record);
        std::srand(1);
        PatternStart(record);
    }
    ~Run() {
        PatternFree(record);
        platform::UseRealClock();
    }
    // One step, timed for the slowest-step figure.
    void Step() {
        const double t0 = bench::ThreadCpuMs();
        PatternStep(record);
        slowest = std::max(slowest, bench::ThreadCpuMs() - t0);
    }
    bench::Screen screen;
    ModuleRecord* record;
    double slowest = 0;
};

void StepAt(benchmark::State& state, int width, int height) {
    Run run(width, height, static_cast<LONG>(state.range(0)), static_cast<LONG>(state.range(1)));
    for (auto _ : state) run.Step();
    state.counters["max_step_ms"] = run.slowest;
}

void BM_PatternStep1080p(benchmark::State& state) { StepAt(state, 1920, 1080); }
void BM_PatternStep2160p(benchmark::State& state) { StepAt(state, 3840, 2160); }

void BM_PatternStep1080pHeaviest(benchmark::State& state) {
    Run run(1920, 1080, 7, 50);
    run.record->value[PatternWavesSlot] = 30;
    run.record->value[PatternTurbulenceTypeSlot] = 4;
    std::srand(1);
    PatternStart(run.record);
    for (auto _ : state) run.Step();
    state.counters["max_step_ms"] = run.slowest;
}

void BM_PatternPicture1080p(benchmark::State& state) {
    Run run(1920, 1080, static_cast<LONG>(state.range(0)), static_cast<LONG>(state.range(1)));
    for (auto _ : state) {
        // The completing step has reset the ring to the canvas edge.
        do {
            run.Step();
        } while (Pattern.ring.left != 0);
    }
    state.counters["max_step_ms"] = run.slowest;
}

// Pattern type, Turbulence.
void Cases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"type", "turbulence"});
    for (int type : {0, 6, 19})
        for (int turbulence : {0, 50}) b->Args({type, turbulence});
}

}  // namespace

BENCHMARK(BM_PatternStep1080p)->Apply(Cases)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PatternPicture1080p)->Apply(Cases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternStep2160p)->Apply(Cases)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PatternStep1080pHeaviest)->Unit(benchmark::kMicrosecond);
