#pragma once
// A 1920 x 1080 Canvas for benchmarks of one drawing module's step: an
// offscreen window with a 236-entry palette realised in its DC, and the
// module's record on it with the registered controls.
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"
#include "saver/framework/control_table.h"
#include "saver/framework/module_record.h"

namespace benchsupport {

struct ModuleScreen {
    static constexpr int Width = 1920;
    static constexpr int Height = 1080;

    ModuleScreen() {
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
    ~ModuleScreen() {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        ReleaseDC(window, dc);
        platform::DestroyOffscreenWindow(window);
        DeleteObject(palette);
    }
    ModuleScreen(const ModuleScreen&) = delete;
    ModuleScreen& operator=(const ModuleScreen&) = delete;

    // The module's record drawing here, with its controls as registered.
    ModuleRecord* Open(int module) const {
        RegisterAllControls();
        AllowSoundSources();
        ModuleRecord* record = &ModuleTable[module];
        record->width = Width;
        record->height = Height;
        record->dc = dc;
        return record;
    }

    std::shared_ptr<gdi::OffscreenPresenter> presenter;
    HWND window;
    HDC dc;
    HPALETTE palette;
};

}  // namespace benchsupport
