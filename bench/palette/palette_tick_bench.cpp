// The cost of one palette thread step (PaletteTick + PaletteRandomEvents) on
// an offscreen window: with the default settings, and with all ten
// parameters oscillating, which evaluates a source for every generated value.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/gdi/present/offscreen_presenter.h"
#include "saver/framework/sources.h"
#include "saver/palette/palette_engine.h"

namespace {

void RunTicks(benchmark::State& state, bool oscillate) {
    auto presenter = std::make_shared<gdi::OffscreenPresenter>();
    HWND window = platform::CreateOffscreenWindow(640, 480, presenter);
    HDC dc = GetDC(window);
    PaletteSettings* settings = CreatePaletteEngine(dc);
    if (oscillate) {
        for (int p = 0; p < PaletteParameterCount; ++p) {
            for (int ch = 0; ch < ChannelCount; ++ch) {
                settings->source[p][ch] = SourceOscillate;
            }
        }
    }
    RestartAllChannels(settings);
    for (auto _ : state) {
        PaletteTick(settings);
        PaletteRandomEvents(settings);
    }
    DestroyPaletteEngine(settings);
    ReleaseDC(window, dc);
    platform::DestroyOffscreenWindow(window);
}

void BM_PaletteTickDefaults(benchmark::State& state) { RunTicks(state, false); }
void BM_PaletteTickAllOscillating(benchmark::State& state) { RunTicks(state, true); }

BENCHMARK(BM_PaletteTickDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaletteTickAllOscillating)->Unit(benchmark::kMicrosecond);

}  // namespace
