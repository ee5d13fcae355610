// Bad arguments give the Win32 failure values and never write outside a
// surface: null and stale handles, null pointers, huge and far-away shapes.
#include <climits>

#include "canvas_fixture.h"

namespace gditest {
namespace {

using Robustness = CanvasTest;

TEST(BadHandles, EveryCallRejectsNullAndForeignHandles) {
    auto* foreign = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x1234560));
    for (HDC dc : {static_cast<HDC>(nullptr), foreign}) {
        EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
        EXPECT_FALSE(LineTo(dc, 1, 1));
        EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, BLACKNESS));
        EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
        EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
        EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
        EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
        EXPECT_EQ(GetClipBox(dc, nullptr), ERROR);
        EXPECT_FALSE(DeleteDC(dc));
        EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
    }
    EXPECT_EQ(CreateCompatibleDC(foreign), nullptr);
    auto* stale = reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(0x7777770));
    EXPECT_FALSE(DeleteObject(stale));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(GetObjectA(stale, 100, nullptr), 0);
    EXPECT_FALSE(UnrealizeObject(stale));
    EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(stale)));
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(stale)), nullptr);
}

TEST_F(Robustness, WrongObjectKindsAndDeletedObjectsAreRefused) {
    HBRUSH brush = CreateSolidBrush(0);
    RECT r{0, 0, 4, 4};
    EXPECT_EQ(FillRect(dc, &r, reinterpret_cast<HBRUSH>(palette)), 0);  // a palette is no brush
    EXPECT_EQ(SelectObject(dc, palette), nullptr);                      // palettes need SelectPalette
    EXPECT_EQ(FillRect(dc, nullptr, brush), 0);
    DeleteObject(brush);
    EXPECT_EQ(FillRect(dc, &r, brush), 0);
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
}

TEST_F(Robustness, HugeAndFarAwayShapesStayInsideTheSurface) {
    Use(CreatePen(PS_SOLID, 100000, PALETTEINDEX(5)));
    Use(CreateSolidBrush(PALETTEINDEX(6)));
    EXPECT_TRUE(Ellipse(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(Rectangle(dc, -1000000000, 5, 1000000000, 6));
    MoveToEx(dc, INT_MIN, INT_MIN, nullptr);
    EXPECT_TRUE(LineTo(dc, INT_MAX, INT_MAX));
    const POINT far[] = {{INT_MAX, INT_MAX}, {INT_MIN, 0}, {0, INT_MIN}};
    EXPECT_TRUE(Polygon(dc, far, 3));
    EXPECT_FALSE(Polygon(dc, far, 1));
    EXPECT_FALSE(Polygon(dc, nullptr, 3));
    EXPECT_FALSE(Polyline(dc, far, -5));
    EXPECT_TRUE(PatBlt(dc, INT_MAX, INT_MAX, INT_MAX, INT_MAX, WHITENESS));
    EXPECT_TRUE(PatBlt(dc, INT_MIN, INT_MIN, -5, -5, WHITENESS));
    EXPECT_FALSE(PatBlt(dc, 0, 0, 4, 4, SRCCOPY));  // needs a source
    EXPECT_TRUE(StretchBlt(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX, dc, INT_MAX, 0, INT_MIN, 5, SRCCOPY));
    EXPECT_TRUE(StretchBlt(dc, 0, 0, kWidth, kHeight, dc, 0, 0, 0, 0, SRCCOPY));
    EXPECT_EQ(SetPixel(dc, -1, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, kWidth, 0), CLR_INVALID);
    EXPECT_EQ(ExcludeClipRect(dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX), NULLREGION);
    EXPECT_TRUE(Rectangle(dc, 0, 0, kWidth, kHeight));
    HRGN huge = CreateEllipticRgn(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_NE(huge, nullptr);
    EXPECT_NE(OffsetRgn(huge, INT_MAX, INT_MAX), ERROR);
    DeleteObject(huge);
}

TEST(BadSizes, BitmapsAndDibsRejectImpossibleSizes) {
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 100000, 100000), nullptr);
    HBITMAP tiny = CreateCompatibleBitmap(nullptr, 0, 0);  // Win32 gives 1 x 1
    ASSERT_NE(tiny, nullptr);
    DeleteObject(tiny);
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    for (auto broken : {BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 0, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0},
                        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 4, 1, 4, BI_RGB, 0, 0, 0, 0, 0},
                        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RLE8, 0, 0, 0, 0, 0},
                        BITMAPINFOHEADER{12, 4, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0},
                        BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1 << 30, 1 << 30, 1, 32, BI_RGB, 0, 0, 0, 0, 0}}) {
        bmi.bmiHeader = broken;
        EXPECT_EQ(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
        std::uint8_t pixels[64] = {};
        EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 4, 4, 0, 0, 4, 4, pixels, &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
    }
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    EXPECT_EQ(CreateDIBSection(nullptr, &bmi, DIB_PAL_COLORS, &bits, nullptr, 0), nullptr);  // needs a DC
    EXPECT_EQ(CreateDIBSection(nullptr, &bmi, 7, &bits, nullptr, 0), nullptr);
}

TEST_F(Robustness, DibSourcesOutsideTheirImageDrawNothing) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::uint32_t pixels[16];
    for (auto& p : pixels) p = 0x00FFFFFF;
    EXPECT_NE(StretchDIBits(dc, 0, 0, 40, 40, 100, 100, 4, 4, pixels, &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_NE(StretchDIBits(dc, 0, 0, 40, 40, -8, -8, 4, 4, pixels, &bmi, DIB_RGB_COLORS, SRCCOPY), 0);
    EXPECT_EQ(Count(0), kWidth * kHeight);
    EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 9, 1, pixels, &bmi, DIB_RGB_COLORS), 0);
    EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 4, 4, 0, 0, 0, 4, nullptr, &bmi, DIB_RGB_COLORS), 0);
    // A part of the source that exists is drawn, the rest is not.
    StretchDIBits(dc, 0, 0, 8, 4, 2, 0, 4, 4, pixels, &bmi, DIB_RGB_COLORS, SRCCOPY);
    EXPECT_EQ(Count(255), 4 * 4);
}

}  // namespace
}  // namespace gditest
