// One Star step on a 1920 x 1080 Canvas: with the default controls, and with
// the heaviest ones (99 stars of size 320, ten-sided doubly nested stamps,
// every revolve and the spin at their limits, Speed 60, Symmetry 128),
// untiled and over 20 x 20 tiles.
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

std::vector<std::pair<int, LONG>> Tiled(std::vector<std::pair<int, LONG>> controls) {
    controls.push_back({StarXTilesSlot, 20});
    controls.push_back({StarYTilesSlot, 20});
    return controls;
}

void BM_StarStepDefault(benchmark::State& state) { RunStar(state, {}); }
void BM_StarStepHeaviest(benchmark::State& state) { RunStar(state, Heaviest); }
void BM_StarStepHeaviestTiled(benchmark::State& state) { RunStar(state, Tiled(Heaviest)); }

}  // namespace

BENCHMARK(BM_StarStepDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StarStepHeaviest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarStepHeaviestTiled)->Unit(benchmark::kMillisecond);
