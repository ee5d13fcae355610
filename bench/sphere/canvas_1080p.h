#pragma once
// A 1920 x 1080 offscreen Canvas with a realised 236-entry palette, for the
// module benchmarks that need a full-screen picture.
#include <memory>
#include <vector>

#include "platform/gdi/present/offscreen_presenter.h"
#include "platform/win32.h"

namespace bench {

constexpr int Width = 1920;
constexpr int Height = 1080;

struct Canvas1080p {
    Canvas1080p() {
        presenter = std::make_shared<gdi::OffscreenPresenter>();
        window = platform::CreateOffscreenWindow(Width, Height, presenter);
        dc = GetDC(window);
        std::vector<unsigned char> block(sizeof(LOGPALETTE) + 235 * sizeof(PALETTEENTRY));
        auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = 236;
        PALETTEENTRY* entries = lp->palPalEntry;
        for (int i = 0; i < 236; ++i) entries[i] = {static_cast<BYTE>(i), static_cast<BYTE>(255 - i), 0, PC_RESERVED};
        palette = CreatePalette(lp);
        SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
    }
    ~Canvas1080p() {
        SelectPalette(dc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
        ReleaseDC(window, dc);
        platform::DestroyOffscreenWindow(window);
        DeleteObject(palette);
    }
    Canvas1080p(const Canvas1080p&) = delete;
    Canvas1080p& operator=(const Canvas1080p&) = delete;

    std::shared_ptr<gdi::OffscreenPresenter> presenter;
    HWND window;
    HDC dc;
    HPALETTE palette;
};

}  // namespace bench
