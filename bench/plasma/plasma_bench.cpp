// Plasma with the default controls: single steps at 1920 x 1080 and
// 3840 x 2160 (the slowest subdividing, preview and completing steps are
// reported as counters), a whole cloud at 1920 x 1080, the completing step
// alone by effect, and each image effect on a cloud.  Single steps are timed
// in thread CPU time: the machine is shared, and wall time would count other
// programs' slices.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bench/support/cpu_time.h"
#include "bench/support/screen.h"
#include "platform/kernel/clock.h"
#include "saver/framework/control_table.h"
#include "saver/images/image_effects.h"
#include "saver/modules/plasma.h"

namespace {

// The Plasma module on a Canvas of its own under the test clock.
struct PlasmaRun {
    PlasmaRun(int width, int height) : screen(width, height) {
        platform::UseTestClock(1000);
        RegisterAllControls();
        record = &ModuleTable[ModulePlasma];
        record->width = width;
        record->height = height;
        record->dc = screen.dc;
    }
    ~PlasmaRun() {
        PlasmaFree(record);
        platform::UseRealClock();
    }
    // A new cloud computed to the end without letting time pass; at most
    // its first preview is shown, far from halfway.
    void Compute(unsigned seed) {
        PlasmaFree(record);
        std::srand(seed);
        PlasmaStart(record);
        while (Plasma.stackCount > 0) PlasmaStep(record);
    }

    bench::Screen screen;
    ModuleRecord* record;
};

// Steps at 60 frames a second of virtual time; a held picture is skipped by
// moving the clock past its end, so every iteration works, previews or
// completes a cloud.
void RunSteps(benchmark::State& state) {
    PlasmaRun run(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    std::srand(1);
    PlasmaStart(run.record);
    double slowestWork = 0, slowestPreview = 0, slowestCompletion = 0;
    for (auto _ : state) {
        if (Plasma.finished) platform::AdvanceTestClock(Plasma.imageDuration + 1);
        const LONG stacked = Plasma.stackCount;
        const LONG shown = Plasma.shownProgress;
        const double t0 = bench::ThreadCpuMs();
        PlasmaStep(run.record);
        const double ms = bench::ThreadCpuMs() - t0;
        double& slowest = stacked == 0 ? slowestCompletion
                          : Plasma.shownProgress != shown || Plasma.finished ? slowestPreview
                                                                             : slowestWork;
        slowest = std::max(slowest, ms);
        platform::AdvanceTestClock(16);
    }
    state.counters["max_work_ms"] = slowestWork;
    state.counters["max_preview_ms"] = slowestPreview;
    state.counters["max_complete_ms"] = slowestCompletion;
}

// Start and every subdivision of one cloud, then the step that shows it.
void RunCloud(benchmark::State& state) {
    PlasmaRun run(1920, 1080);
    unsigned seed = 1;
    for (auto _ : state) {
        run.Compute(seed++);
        platform::AdvanceTestClock(60000);
        PlasmaStep(run.record);
    }
}

// The step that applies the effect to a computed 1920 x 1080 cloud and
// shows it (effect 20 leaves the cloud as it is).
void RunCompletion(benchmark::State& state) {
    PlasmaRun run(1920, 1080);
    run.record->value[PlasmaEffectSlot] = static_cast<LONG>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        run.Compute(1);
        platform::AdvanceTestClock(60000);
        state.ResumeTiming();
        const double t0 = bench::ThreadCpuMs();
        PlasmaStep(run.record);
        state.SetIterationTime((bench::ThreadCpuMs() - t0) / 1000);
    }
}

// One image effect on a computed 1920 x 1080 cloud, as Plasma applies it.
void RunEffect(benchmark::State& state) {
    const int width = 1920, height = 1080;
    std::vector<BYTE> cloud;
    {
        PlasmaRun run(width, height);
        run.Compute(1);
        cloud.assign(Plasma.bits, Plasma.bits + Plasma.stride * (height + 3));
    }
    std::vector<BYTE> bits = cloud;
    for (auto _ : state) {
        state.PauseTiming();
        bits = cloud;
        state.ResumeTiming();
        ApplyImageEffect(bits.data(), width - 1, height - 1, DibStride(width), static_cast<LONG>(state.range(0)));
    }
}

}  // namespace

BENCHMARK(RunSteps)->Name("PlasmaStep")->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond)
    ->Iterations(20000);
BENCHMARK(RunCloud)->Name("PlasmaCloud")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RunCompletion)->Name("PlasmaCompleteStep")->Arg(20)->Arg(10)->Arg(17)->UseManualTime()
    ->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RunEffect)->Name("ImageEffect")->DenseRange(1, 10)->Unit(benchmark::kMicrosecond);
