// One thread draws while another animates the palette and reads pixels
// through the same private DC, as the drawing and palette threads do.
#include <atomic>
#include <thread>

#include "canvas_fixture.h"

namespace gditest {
namespace {

using Threads = CanvasTest;

TEST_F(Threads, DrawingAndPaletteAnimationShareTheCanvas) {
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread paletteThread([&] {
        HDC own = GetDC(window);
        if (own != dc) ++bad;
        PALETTEENTRY entries[236];
        for (int tick = 0; !stop; ++tick) {
            for (int i = 0; i < 236; ++i)
                entries[i] = {static_cast<BYTE>(tick), static_cast<BYTE>(i), 0, PC_RESERVED};
            if (!AnimatePalette(palette, 0, 236, entries)) ++bad;
            const COLORREF c = GetPixel(own, 5, 5);
            if (c == CLR_INVALID) ++bad;
            ReleaseDC(window, own);
        }
    });
    HPEN pen = CreatePen(PS_SOLID, 4, PALETTEINDEX(100));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int frame = 0; frame < 200; ++frame) {
        MoveToEx(dc, frame % kWidth, 0, nullptr);
        LineTo(dc, kWidth - frame % kWidth, kHeight);
        Ellipse(dc, 0, 0, frame % kWidth + 1, frame % kHeight + 1);
        BitBlt(dc, 1, 1, 20, 20, dc, 0, 0, SRCCOPY);
        GdiFlush();
    }
    stop = true;
    paletteThread.join();
    SelectObject(dc, old);
    DeleteObject(pen);
    EXPECT_EQ(bad, 0);
    // The stored indices never moved: only the colours did.
    SetPixel(dc, 2, 2, PALETTEINDEX(100));
    EXPECT_EQ(IndexAt(2, 2), 110);
    PALETTEENTRY e;
    GetPaletteEntries(palette, 100, 1, &e);
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(e.peRed, e.peGreen, e.peBlue));
}

}  // namespace
}  // namespace gditest
