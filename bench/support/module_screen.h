#pragma once
// What the drawing-module benchmarks draw on: an offscreen Canvas (1920 x
// 1080 unless asked otherwise) with a 236-entry engine palette realised, and
// the module's record on it with its controls registered as at the start of
// a run.
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"
#include "saver/framework/control_table.h"
#include "saver/framework/module_record.h"

namespace bench {

constexpr int ScreenWidth = 1920;
constexpr int ScreenHeight = 1080;

struct ModuleScreen {
    explicit ModuleScreen(int module, int width = ScreenWidth, int height = ScreenHeight) {
        presenter = std::make_shared<gdi::OffscreenPresenter>();
        window = platform::CreateOffscreenWindow(width, height, presenter);
        dc = GetDC(window);
        std::vector<unsigned char> block(sizeof(LOGPALETTE) + 235 * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = 236;
        for (int i = 0; i < 236; ++i) lp->palPalEntry[i] = {static_cast<BYTE>(i), 0, 0, PC_RESERVED};
        palette = CreatePalette(lp);
        SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);

        RegisterAllControls();
        AllowSoundSources();
        record = &ModuleTable[module];
        record->width = width;
        record->height = height;
        record->dc = dc;
    }
    ~ModuleScreen() {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        ReleaseDC(window, dc);
        platform::DestroyOffscreenWindow(window);
        DeleteObject(palette);
    }
    ModuleScreen(const ModuleScreen&) = delete;
    ModuleScreen& operator=(const ModuleScreen&) = delete;

    std::shared_ptr<gdi::OffscreenPresenter> presenter;
    HWND window;
    HDC dc;
    HPALETTE palette;
    ModuleRecord* record;
};

}  // namespace bench
