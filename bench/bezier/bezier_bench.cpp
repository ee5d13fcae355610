// One Bezier frame on a 1920 x 1080 Canvas, with the default controls and
// with the heaviest ones (Symmetry 32, 20 curves, Width 200, 20 x 20 tiles).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/kernel/clock.h"
#include "platform/win32.h"
#include "saver/framework/control_table.h"
#include "saver/modules/bezier.h"
#include "saver/framework/run_flag.h"

namespace {

constexpr int Width = 1920;
constexpr int Height = 1080;

struct Screen {
    Screen() {
        presenter = std::make_shared<gdi::OffscreenPresenter>();
        window = platform::CreateOffscreenWindow(Width, Height, presenter);
        dc = GetDC(window);
        std::vector<unsigned char> block(sizeof(LOGPALETTE) + 235 * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = 236;
        for (int i = 0; i < 236; ++i) lp->palPalEntry[i] = {static_cast<BYTE>(i), 0, 0, PC_RESERVED};
        palette = CreatePalette(lp);
        SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    ~Screen() {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        ReleaseDC(window, dc);
        platform::DestroyOffscreenWindow(window);
        DeleteObject(palette);
    }
    std::shared_ptr<gdi::OffscreenPresenter> presenter;
    HWND window;
    HDC dc;
    HPALETTE palette;
};

void RunBezier(benchmark::State& state, bool heaviest) {
    platform::UseTestClock(1000);  // no time-out restarts while measuring
    Screen screen;
    RegisterAllControls();
    AllowSoundSources();
    ModuleRecord* record = &ModuleTable[ModuleBezier];
    record->width = Width;
    record->height = Height;
    record->dc = screen.dc;
    if (heaviest) {
        record->value[BezierCurvesSlot] = 20;
        record->value[BezierSymmetrySlot] = 32;
        record->value[BezierWidthSlot] = 200;
        record->value[BezierXTilesSlot] = 20;
        record->value[BezierYTilesSlot] = 20;
    }
    BezierInit(record);
    std::srand(1);
    BezierStart(record);
    for (auto _ : state) {
        BezierStep(record);
    }
    BezierFree(record);
    platform::UseRealClock();
}

void BM_BezierStepDefault(benchmark::State& state) { RunBezier(state, false); }
void BM_BezierStepHeaviest(benchmark::State& state) { RunBezier(state, true); }

}  // namespace

BENCHMARK(BM_BezierStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BezierStepHeaviest)->Unit(benchmark::kMillisecond)->MinTime(2.0);
