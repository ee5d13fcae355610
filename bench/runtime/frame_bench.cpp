// One iteration of the frame loop with only the Random module active, at
// 1920 x 1080: the engine's own cost per frame (overlays, module steps,
// flush, requests), without any drawing module's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/kernel/clock.h"
#include "platform/win32.h"
#include "saver/framework/module_table.h"
#include "saver/runtime/engine.h"
#include "saver/runtime/run_state.h"
#include "saver/settings/settings_store.h"
#include "saver/sound/spectrum_link.h"

namespace {

void BM_FrameOnlyRandom(benchmark::State& state) {
    platform::UseTestClock(100000);
    InstallSettingsStore();
    auto presenter = std::make_shared<gdi::OffscreenPresenter>();
    platform::SetScreenSize(1920, 1080);
    HWND window = platform::CreateOffscreenWindow(1920, 1080, presenter);
    SharedSpectrum = OpenSpectrumBlock();
    PrepareRun(window, FALSE);
    BeginPaletteRun(window);
    StartModules();
    for (auto _ : state) RunFrame();
    Running = 0;
    EndPaletteRun(window);
    EndRun();
    CloseSpectrumBlock(SharedSpectrum);
    SharedSpectrum = nullptr;
    platform::DestroyOffscreenWindow(window);
    platform::UseRealClock();
}
BENCHMARK(BM_FrameOnlyRandom)->Unit(benchmark::kMicrosecond);

}  // namespace
