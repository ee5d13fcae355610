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

// The registry lives in a temporary platform root, never the user's, and the
// spectrum block in a namespace of its own.
int main(int argc, char** argv) {
    char pattern[] = "/tmp/lumora-bench-XXXXXX";
    const char* root = mkdtemp(pattern);
    if (!root) return 1;
    setenv("LUMORA_ROOT", root, 1);
    setenv("LUMORA_SHM_NAMESPACE", ("lumorabench" + std::to_string(getpid())).c_str(), 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return 0;
}
