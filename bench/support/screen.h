#pragma once
// An offscreen Canvas for the drawing-module benchmarks: a window of the
// given size whose DC has a 236-entry palette realised, as the saver's
// Canvas has the palette engine's.
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"

namespace bench {

struct Screen {
    Screen(int width, int height) {
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
    }
    ~Screen() {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        ReleaseDC(window, dc);
        platform::DestroyOffscreenWindow(window);
        DeleteObject(palette);
    }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    std::shared_ptr<gdi::OffscreenPresenter> presenter;
    HWND window;
    HDC dc;
    HPALETTE palette;
};

}  // namespace bench
