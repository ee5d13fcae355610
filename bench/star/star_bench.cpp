// One Star step on a 1920 x 1080 Canvas: with the default controls, and with
// the heaviest ones (99 stars of size 320, ten-sided doubly nested filled
// stamps, every revolve and the spin at their limits, Speed 60, Symmetry
// 128).  Over 20 x 20 tiles the heaviest step costs minutes, growing with the
// symmetry, so the tiled runs measure Symmetry 1 and 4.  The heavy runs time
// the first step after a start, once.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"
#include "saver/framework/control_table.h"
#include "saver/modules/star.h"

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

void RunStar(benchmark::State& state, const std::vector<std::pair<int, LONG>>& controls) {
    Screen screen;
    RegisterAllControls();
    AllowSoundSources();
    ModuleRecord* record = &ModuleTable[ModuleStar];
    record->width = Width;
    record->height = Height;
    record->dc = screen.dc;
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
