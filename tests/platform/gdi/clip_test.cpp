// Regions and clipping: every drawing call and every blit destination stays
// inside the DC's clip.
#include "canvas_fixture.h"

namespace gditest {
namespace {

using Clipping = CanvasTest;

constexpr std::uint8_t kInk = 15;

TEST_F(Clipping, EllipseAndTriangleRegionsPaintOnlyTheirIntersection) {
    HRGN ellipse = CreateEllipticRgn(10, 10, 40, 40);
    const POINT wedge[] = {{25, 25}, {60, 25}, {25, 0}};
    HRGN triangle = CreatePolygonRgn(wedge, 3, WINDING);
    ASSERT_EQ(CombineRgn(ellipse, ellipse, triangle, RGN_AND), COMPLEXREGION);
    EXPECT_EQ(SelectClipRgn(dc, ellipse), COMPLEXREGION);
    Use(CreateSolidBrush(PALETTEINDEX(5)));
    PatBlt(dc, 0, 0, kWidth, kHeight, PATCOPY);
    const auto px = Indices();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            EXPECT_EQ(px[y * kWidth + x] == kInk, PtInRegion(ellipse, x, y) != FALSE) << x << "," << y;
    EXPECT_TRUE(PtInRegion(ellipse, 30, 20));
    EXPECT_FALSE(PtInRegion(ellipse, 20, 30));
    // The DC holds a copy: changing or deleting the region leaves the clip.
    OffsetRgn(ellipse, 100, 0);
    DeleteObject(ellipse);
    DeleteObject(triangle);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 25);
    EXPECT_EQ(box.bottom, 25);
}

TEST_F(Clipping, AnExcludedRectangleIsSafeFromEveryKindOfDrawing) {
    ASSERT_NE(ExcludeClipRect(dc, 20, 10, 40, 30), ERROR);
    Use(CreatePen(PS_SOLID, 5, PALETTEINDEX(5)));
    Use(CreateSolidBrush(PALETTEINDEX(5)));
    PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    PatBlt(dc, 0, 0, kWidth, kHeight, DSTINVERT);
    Rectangle(dc, 0, 0, kWidth, kHeight);
    Ellipse(dc, 5, 5, 60, 45);
    const POINT tri[] = {{0, 0}, {63, 20}, {0, 40}};
    Polygon(dc, tri, 3);
    MoveToEx(dc, 0, 20, nullptr);
    LineTo(dc, 63, 20);
    RECT all{0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetPixel(dc, 30, 20, PALETTEINDEX(5));
    RECT edge{15, 5, 45, 35};
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    RECT textBox{0, 0, kWidth, kHeight};
    DrawTextA(dc, "WWWWWWWW", -1, &textBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    // Blits, from another DC and from the Canvas itself.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    HGDIOBJ old = SelectObject(mem, bitmap);
    PatBlt(mem, 0, 0, kWidth, kHeight, WHITENESS);
    StretchBlt(dc, kWidth, 0, -kWidth, kHeight, dc, 0, 0, kWidth, kHeight, SRCCOPY);
    BitBlt(dc, 0, 0, kWidth, kHeight, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bitmap);

    const auto px = Indices();
    for (int y = 10; y < 30; ++y)
        for (int x = 20; x < 40; ++x) ASSERT_EQ(px[y * kWidth + x], 0) << x << "," << y;
    EXPECT_EQ(px[9 * kWidth + 20], 255);
    EXPECT_EQ(px[10 * kWidth + 40], 255);
    EXPECT_EQ(GetPixel(dc, 25, 15), CLR_INVALID);  // outside the clip
}

TEST_F(Clipping, ClipRegionsCanBeReadIntersectedAndRemoved) {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, copy), 0);
    EXPECT_EQ(IntersectClipRect(dc, 10, 10, 30, 20), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(dc, copy), 1);
    RECT box;
    EXPECT_EQ(GetRgnBox(copy, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 30);
    EXPECT_EQ(IntersectClipRect(dc, 40, 40, 50, 50), NULLREGION);
    PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    EXPECT_EQ(Count(255), 0);
    EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, kWidth);
    // Selecting a region with SelectObject sets the clip too and returns its kind.
    EXPECT_EQ(SelectObject(dc, copy), reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(SIMPLEREGION)));
    PatBlt(dc, 0, 0, kWidth, kHeight, WHITENESS);
    EXPECT_EQ(Count(255), 20 * 10);
    EXPECT_TRUE(DeleteObject(copy));
}

TEST(Regions, CombineModesAndBadArguments) {
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgnIndirect(nullptr), c = CreateRectRgn(5, 5, 15, 15);
    EXPECT_EQ(b, nullptr);
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(out, a, c, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(out, a, c, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(out, 7, 7));
    EXPECT_EQ(CombineRgn(out, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(CombineRgn(out, a, nullptr, RGN_AND), ERROR);
    EXPECT_EQ(CombineRgn(out, a, c, 9), ERROR);
    EXPECT_EQ(CreatePolygonRgn(nullptr, 3, WINDING), nullptr);
    const POINT line[] = {{0, 0}, {5, 5}};
    HRGN flat = CreatePolygonRgn(line, 2, ALTERNATE);
    RECT box;
    EXPECT_EQ(GetRgnBox(flat, &box), NULLREGION);
    for (HRGN r : {a, c, out, flat}) EXPECT_TRUE(DeleteObject(r));
    EXPECT_EQ(OffsetRgn(a, 1, 1), ERROR);  // stale
    EXPECT_EQ(SelectClipRgn(nullptr, nullptr), ERROR);
}

}  // namespace
}  // namespace gditest
