// Device contexts, windows, objects and publication of the Canvas.
#include "canvas_fixture.h"

namespace gditest {
namespace {

using Contexts = CanvasTest;

TEST_F(Contexts, APrivateDCIsSharedByEveryGetDC) {
    HDC again = GetDC(window);
    EXPECT_EQ(again, dc);
    HPEN pen = CreatePen(PS_SOLID, 3, PALETTEINDEX(1));
    HGDIOBJ old = SelectObject(again, pen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(ReleaseDC(window, again), 1);
    EXPECT_EQ(GetROP2(dc), R2_COPYPEN);  // still alive after ReleaseDC
    EXPECT_FALSE(DeleteDC(dc));          // the window owns it
    EXPECT_FALSE(DeleteObject(pen));     // selected
    EXPECT_EQ(SelectObject(dc, old), pen);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));  // already gone
}

TEST(Windows, WindowsWithoutPrivateDCsHandOutFreshDCs) {
    auto presenter = std::make_shared<RecordingPresenter>();
    Window window(32, 16, presenter, 0);
    HDC a = GetDC(&window), b = GetDC(&window);
    EXPECT_NE(a, b);
    SetROP2(a, R2_NOT);
    EXPECT_EQ(GetROP2(b), R2_COPYPEN);
    RECT client;
    ASSERT_TRUE(GetClientRect(&window, &client));
    EXPECT_EQ(client.right, 32);
    EXPECT_EQ(client.bottom, 16);
    SetPixel(a, 31, 15, RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(b, 31, 15), RGB(255, 255, 255));  // one client area
    EXPECT_EQ(GetPixel(b, 32, 15), CLR_INVALID);
    EXPECT_EQ(ReleaseDC(&window, a), 1);
    EXPECT_EQ(GetROP2(a), 0);  // released DCs are gone
    EXPECT_EQ(ReleaseDC(&window, b), 1);
    EXPECT_TRUE(IsWindow(&window));
}

TEST(Windows, ResizedClientAreasAreDrawnByTheDCsAlreadyTaken) {
    auto presenter = std::make_shared<RecordingPresenter>();
    Window window(8, 8, presenter, CS_OWNDC);
    HDC dc = GetDC(&window);
    window.resizeClient(20, 10);
    RECT client;
    GetClientRect(&window, &client);
    EXPECT_EQ(client.right, 20);
    EXPECT_TRUE(SetPixel(dc, 19, 9, RGB(255, 255, 255)) != CLR_INVALID);
    GdiFlush();
    std::lock_guard lock(presenter->mutex);
    EXPECT_EQ(presenter->frameWidth, 20);
    EXPECT_EQ(presenter->frame.back(), 255);
}

TEST(Windows, DestroyedWindowsAreStaleHandles) {
    HWND window = platform::CreateOffscreenWindow(8, 8, nullptr);
    HDC dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    platform::DestroyOffscreenWindow(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetDC(window), nullptr);
    RECT r;
    EXPECT_FALSE(GetClientRect(window, &r));
    EXPECT_FALSE(Rectangle(dc, 0, 0, 4, 4));  // its private DC went with it
    platform::DestroyOffscreenWindow(window);  // twice is harmless
}

TEST_F(Contexts, GdiFlushPublishesChangedFramesAndPaces) {
    GdiFlush();
    const int frames = presenter->frames, paces = presenter->paces;
    GdiFlush();
    EXPECT_EQ(presenter->frames, frames);  // nothing changed
    EXPECT_EQ(presenter->paces, paces + 1);
    SetPixel(dc, 1, 1, PALETTEINDEX(9));
    GdiFlush();
    EXPECT_EQ(presenter->frames, frames + 1);
    EXPECT_EQ(presenter->frame[1 * kWidth + 1], 19);
}

// A flush names the tiles drawn on since the last one, so the window copies
// and converts only those; every way of writing pixels must count.  The
// window is one column of tiles wide and three bands of 16 rows high.
TEST_F(Contexts, GdiFlushNamesTheTilesDrawnOn) {
    using Runs = std::vector<std::array<int, 4>>;
    GdiFlush();
    EXPECT_EQ(presenter->runs, (Runs{{0, 0, 64, 16}, {0, 16, 64, 32}, {0, 32, 64, 48}}));  // the first frame is whole

    SetPixel(dc, 3, 7, PALETTEINDEX(9));
    GdiFlush();
    EXPECT_EQ(presenter->runs, (Runs{{0, 0, 64, 16}}));

    HPEN pen = CreatePen(PS_SOLID, 3, PALETTEINDEX(12));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 2, 30, nullptr);
    LineTo(dc, 30, 30);  // a 3-pixel pen: rows 29 to 31
    SelectObject(dc, old);
    DeleteObject(pen);
    GdiFlush();
    EXPECT_EQ(presenter->runs, (Runs{{0, 16, 64, 32}}));

    BitBlt(dc, 0, 33, 10, 5, dc, 0, 0, SRCCOPY);  // a copy within the window
    GdiFlush();
    EXPECT_EQ(presenter->runs, (Runs{{0, 32, 64, 48}}));
    PatBlt(dc, 5, 10, 4, 2, WHITENESS);
    GdiFlush();
    EXPECT_EQ(presenter->runs, (Runs{{0, 0, 64, 16}}));

    const int frames = presenter->frames;
    Rectangle(dc, -20, -20, -10, -10);  // entirely outside: nothing drawn
    GdiFlush();
    EXPECT_EQ(presenter->frames, frames);
}

TEST_F(Contexts, DeviceCapsDescribeAnEightBitPaletteDevice) {
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 8);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    EXPECT_TRUE(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE);
    EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), 20);
    EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 256);
    EXPECT_EQ(GetDeviceCaps(dc, NUMRESERVED), 20);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), GetSystemMetrics(SM_CXSCREEN));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
}

TEST_F(Contexts, AttributesReturnTheirPreviousValues) {
    EXPECT_EQ(SetROP2(dc, R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(SetROP2(dc, 99), 0);
    EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_XORPEN);
    EXPECT_EQ(SetStretchBltMode(dc, COLORONCOLOR), BLACKONWHITE);
    EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(dc, 7), 0);
    EXPECT_EQ(SetTextColor(dc, PALETTEINDEX(3)), RGB(0, 0, 0));
    EXPECT_EQ(GetTextColor(dc), PALETTEINDEX(3));
    EXPECT_EQ(SetBkColor(dc, 0), RGB(255, 255, 255));
    EXPECT_EQ(SetPolyFillMode(dc, WINDING), ALTERNATE);
    EXPECT_EQ(SetBkColor(nullptr, 0), CLR_INVALID);
}

TEST_F(Contexts, XorPenTogglesAndWorksOnIndexBits) {
    Use(CreatePen(PS_SOLID, 1, PALETTEINDEX(5)));  // 15
    SetPixel(dc, 0, 0, PALETTEINDEX(0));            // 10
    SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 2, 0);
    EXPECT_EQ(IndexAt(0, 0), 10 ^ 15);
    EXPECT_EQ(IndexAt(1, 0), 15);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 2, 0);
    EXPECT_EQ(IndexAt(0, 0), 10);
    SetROP2(dc, R2_WHITE);
    LineTo(dc, 4, 0);
    EXPECT_EQ(IndexAt(3, 0), 255);
    SetROP2(dc, R2_COPYPEN);
}

TEST(Objects, StockObjectsSurviveDeletionAndObjectsDescribeThemselves) {
    for (int i : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN, NULL_PEN, ANSI_VAR_FONT, DEFAULT_PALETTE}) {
        HGDIOBJ stock = GetStockObject(i);
        ASSERT_NE(stock, nullptr) << i;
        EXPECT_FALSE(DeleteObject(stock)) << i;
        EXPECT_EQ(GetStockObject(i), stock);
    }
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetStockObject(99), nullptr);

    HPEN pen = CreatePen(PS_SOLID, 7, RGB(1, 2, 3));
    LOGPEN lp{};
    EXPECT_EQ(GetObjectA(pen, sizeof lp, &lp), static_cast<int>(sizeof lp));
    EXPECT_EQ(lp.lopnWidth.x, 7);
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectA(pen, 2, &lp), 0);  // buffer too small
    LOGBRUSH lb{BS_NULL, 0, 0};
    HBRUSH hollow = CreateBrushIndirect(&lb);
    lb.lbStyle = 77;
    EXPECT_EQ(CreateBrushIndirect(&lb), nullptr);
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
    WORD count = 0;
    EXPECT_EQ(GetObjectA(GetStockObject(DEFAULT_PALETTE), sizeof count, &count), 2);
    EXPECT_EQ(count, 20);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(hollow));
    EXPECT_EQ(GetObjectA(pen, sizeof lp, &lp), 0);
}

}  // namespace
}  // namespace gditest
