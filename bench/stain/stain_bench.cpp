// Stain steps and whole pictures with the default controls and patterns 1
// (weighted colour) and 5 (dipole field), at 1920 x 1080 and, for the
// steps, 3840 x 2160 and with 20 x 20 tiles.  A step's time grows with its rings, so the slowest
// step of the run is reported beside the mean, in the thread's CPU time so
// that other programs on the machine do not count.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>

#include "bench/support/cpu_time.h"
#include "bench/support/module_screen.h"
#include "platform/kernel/clock.h"
#include "saver/modules/stain.h"

namespace {

struct StainScreen : bench::ModuleScreen {
    StainScreen(int width, int height) : ModuleScreen(ModuleStain, width, height) { platform::UseTestClock(1000); }
    ~StainScreen() {
        StainFree(record);
        platform::UseRealClock();
    }
    void Begin(LONG type, LONG tiles = 1) {
        record->value[StainTypeSlot] = type;
        record->value[StainXTilesSlot] = tiles;
        record->value[StainYTilesSlot] = tiles;
        StainInit(record);
        std::srand(1);
        StainStart(record);
    }
    // Skips the hold of a finished picture, so every call draws.
    LONG Step() {
        if (static_cast<LONG>(GetTickCount() - Stain.resumeTime) < 0)
            platform::AdvanceTestClock(Stain.resumeTime - GetTickCount());
        return StainStep(record);
    }
};

void StainSteps(benchmark::State& state, int width, int height, LONG tiles = 1) {
    StainScreen screen(width, height);
    screen.Begin(static_cast<LONG>(state.range(0)), tiles);
    double slowest = 0.0;
    for (auto _ : state) {
        const double t0 = bench::ThreadCpuMs();
        screen.Step();
        slowest = std::max(slowest, bench::ThreadCpuMs() - t0);
    }
    state.counters["slowest_cpu_ms"] = slowest;
}

void BM_StainStep1080p(benchmark::State& state) { StainSteps(state, 1920, 1080); }
void BM_StainStep2160p(benchmark::State& state) { StainSteps(state, 3840, 2160); }
// The most tiles: every ring is copied out 399 times.
void BM_StainStep1080pTiled(benchmark::State& state) { StainSteps(state, 1920, 1080, 20); }

// From a picture's first ring to the start of the next picture.
void BM_StainPicture1080p(benchmark::State& state) {
    StainScreen screen(1920, 1080);
    screen.Begin(static_cast<LONG>(state.range(0)));
    int steps = 0;
    for (auto _ : state) {
        steps = 0;
        do {
            screen.Step();
            ++steps;
        } while (Stain.ring != 0);
    }
    state.counters["steps"] = steps;
}

}  // namespace

BENCHMARK(BM_StainStep1080p)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_StainStep2160p)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_StainStep1080pTiled)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(BM_StainPicture1080p)->Arg(1)->Arg(5)->Unit(benchmark::kMillisecond);
