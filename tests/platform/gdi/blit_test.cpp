// Transfers between surfaces: raster operations, mirroring, overlapping
// copies, colour matching, DIB sections and DIBs drawn from memory.
#include <algorithm>
#include <cstring>
#include <vector>

#include "canvas_fixture.h"

namespace gditest {
namespace {

using Blits = CanvasTest;

TEST_F(Blits, InversionsGiveTheComplementaryIndex) {
    SetPixel(dc, 0, 0, PALETTEINDEX(5));    // 15
    SetPixel(dc, 1, 0, PALETTEINDEX(200));  // 210
    PatBlt(dc, 0, 0, 2, 1, DSTINVERT);
    EXPECT_EQ(IndexAt(0, 0), 240);
    EXPECT_EQ(IndexAt(1, 0), 45);

    SetROP2(dc, R2_NOT);
    SetPixel(dc, 2, 0, PALETTEINDEX(5));  // SetPixel ignores the raster operation
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 3, 0);
    EXPECT_EQ(IndexAt(0, 0), 15);
    EXPECT_EQ(IndexAt(1, 0), 210);
    EXPECT_EQ(IndexAt(2, 0), 240);
    SetROP2(dc, R2_COPYPEN);

    SetPixel(dc, 0, 1, PALETTEINDEX(0));           // 10
    BitBlt(dc, 0, 1, 3, 1, dc, 0, 0, SRCINVERT);  // row 1 = row 0 xor row 1
    EXPECT_EQ(IndexAt(0, 1), 15 ^ 10);
    EXPECT_EQ(IndexAt(2, 1), 240);
    BitBlt(dc, 0, 1, 3, 1, dc, 0, 0, NOTSRCCOPY);
    EXPECT_EQ(IndexAt(0, 1), 240);
}

TEST_F(Blits, NegativeExtentsMirrorExactly) {
    SetPixel(dc, 0, 0, PALETTEINDEX(1));
    SetPixel(dc, 1, 0, PALETTEINDEX(2));
    SetPixel(dc, 0, 1, PALETTEINDEX(3));
    SetPixel(dc, 1, 1, PALETTEINDEX(4));
    SetStretchBltMode(dc, COLORONCOLOR);
    // Both axes mirrored: the 2 x 2 block turned by 180 degrees at (10, 10).
    ASSERT_TRUE(StretchBlt(dc, 11, 11, -2, -2, dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(IndexAt(10, 10), 14);
    EXPECT_EQ(IndexAt(11, 10), 13);
    EXPECT_EQ(IndexAt(10, 11), 12);
    EXPECT_EQ(IndexAt(11, 11), 11);
    // Horizontal only, mirrored through a negative source extent instead.
    StretchBlt(dc, 20, 20, 2, 2, dc, 1, 0, -2, 2, SRCCOPY);
    EXPECT_EQ(IndexAt(20, 20), 12);
    EXPECT_EQ(IndexAt(21, 20), 11);
    EXPECT_EQ(IndexAt(20, 21), 14);
}

TEST_F(Blits, StretchingIsNearestNeighbourAndOverlapsCopySafely) {
    for (int x = 0; x < 8; ++x) SetPixel(dc, x, 0, PALETTEINDEX(static_cast<WORD>(x)));
    StretchBlt(dc, 0, 2, 16, 1, dc, 0, 0, 8, 1, SRCCOPY);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(IndexAt(x, 2), 10 + x / 2) << x;
    StretchBlt(dc, 0, 3, 4, 1, dc, 0, 0, 8, 1, SRCCOPY);
    EXPECT_EQ(IndexAt(0, 3), 11);
    EXPECT_EQ(IndexAt(3, 3), 17);
    // Overlapping source and destination in one DC copy the old pixels.
    BitBlt(dc, 1, 0, 8, 1, dc, 0, 0, SRCCOPY);
    for (int x = 1; x < 9; ++x) EXPECT_EQ(IndexAt(x, 0), 10 + x - 1) << x;
}

TEST_F(Blits, DibPaletteIndicesDrawThroughTheSelectedPalette) {
    Info8 bmi(236, 2);
    bmi.paletteIndices();
    std::vector<std::uint8_t> bits(236 * 2, 0);
    for (int i = 0; i < 236; ++i) bits[i] = static_cast<std::uint8_t>(i);  // bottom row first
    ASSERT_EQ(StretchDIBits(dc, 0, 0, 236, 2, 0, 0, 236, 2, bits.data(), bmi.info(), DIB_PAL_COLORS, SRCCOPY), 2);
    for (int x : {0, 1, 63}) {
        EXPECT_EQ(IndexAt(x, 1), 10 + x);
        EXPECT_EQ(IndexAt(x, 0), 10);  // the top row holds value 0
    }
    // SetDIBitsToDevice reads the same layout without scaling.
    PatBlt(dc, 0, 0, kWidth, kHeight, BLACKNESS);
    ASSERT_EQ(SetDIBitsToDevice(dc, 0, 10, 236, 2, 0, 0, 0, 2, bits.data(), bmi.info(), DIB_PAL_COLORS), 2);
    EXPECT_EQ(IndexAt(5, 11), 15);
    EXPECT_EQ(IndexAt(5, 10), 10);
    // A top-down DIB stores its first row at the top.
    bmi.header.biHeight = -2;
    StretchDIBits(dc, 0, 20, 236, 2, 0, 0, 236, 2, bits.data(), bmi.info(), DIB_PAL_COLORS, SRCCOPY);
    EXPECT_EQ(IndexAt(5, 20), 15);
    EXPECT_EQ(IndexAt(5, 21), 10);
}

TEST_F(Blits, CanvasSnapshotIntoAGreyDibTakesTheNearestGrey) {
    SetPixel(dc, 0, 0, PALETTEINDEX(40));         // (40, 215, 20)
    SetPixel(dc, 1, 0, RGB(255, 255, 255));       // white
    SetPixel(dc, 2, 0, PALETTEINDEX(100));        // (100, 155, 50)
    Info8 bmi(4, 2);
    bmi.grey();
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, bmi.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    ASSERT_NE(bits, nullptr);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, dib);
    SetStretchBltMode(mem, COLORONCOLOR);
    ASSERT_TRUE(StretchBlt(mem, 0, 0, 4, 2, dc, 0, 0, 4, 2, SRCCOPY));
    // Bottom-up: the Canvas's top row is the DIB's last stored row (stride 4).
    const auto* row = static_cast<const std::uint8_t*>(bits) + 4;
    auto nearestGrey = [](int r, int g, int b) {
        int best = 0;
        long bestD = -1;
        for (int v = 0; v < 256; ++v) {
            const long d = long{r - v} * (r - v) + long{g - v} * (g - v) + long{b - v} * (b - v);
            if (bestD < 0 || d < bestD) best = v, bestD = d;
        }
        return best;
    };
    EXPECT_EQ(row[0], nearestGrey(40, 215, 20));
    EXPECT_EQ(row[1], 255);
    EXPECT_EQ(row[2], nearestGrey(100, 155, 50));
    EXPECT_EQ(row[3], 0);

    RGBQUAD table[256];
    EXPECT_EQ(GetDIBColorTable(mem, 0, 256, table), 256u);
    EXPECT_EQ(table[77].rgbRed, 77);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectA(dib, sizeof ds, &ds), static_cast<int>(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 4);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 4);
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBmih.biHeight, 2);
    SelectObject(mem, old);
    DeleteDC(mem);
    EXPECT_TRUE(DeleteObject(dib));
}

TEST_F(Blits, IdenticalTablesCopyIndicesAndDifferentOnesMatchColours) {
    Info8 bmi(3, -1);
    for (int i = 0; i < 256; ++i) bmi.colours[i] = {static_cast<BYTE>(i), 0, 0, 0};  // blues
    void* bits = nullptr;
    HBITMAP a = CreateDIBSection(nullptr, bmi.info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    static_cast<std::uint8_t*>(bits)[0] = 7;
    static_cast<std::uint8_t*>(bits)[1] = 200;
    void* bitsB = nullptr;
    HBITMAP b = CreateDIBSection(nullptr, bmi.info(), DIB_RGB_COLORS, &bitsB, nullptr, 0);
    HDC ma = CreateCompatibleDC(nullptr), mb = CreateCompatibleDC(nullptr);
    SelectObject(ma, a);
    SelectObject(mb, b);
    BitBlt(mb, 0, 0, 3, 1, ma, 0, 0, SRCCOPY);
    EXPECT_EQ(static_cast<std::uint8_t*>(bitsB)[0], 7);
    EXPECT_EQ(static_cast<std::uint8_t*>(bitsB)[1], 200);
    // Into the Canvas: blue 200 becomes the nearest hardware colour, static blue 252.
    BitBlt(dc, 0, 0, 3, 1, ma, 0, 0, SRCCOPY);
    EXPECT_EQ(IndexAt(1, 0), 252);
    EXPECT_EQ(IndexAt(0, 0), 0);
    DeleteDC(ma);
    DeleteDC(mb);
    DeleteObject(a);
    DeleteObject(b);
}

TEST_F(Blits, TrueColourSourcesMatchTheNearestDestinationEntry) {
    BITMAPINFO bmi{};
    bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, 1, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP rgb = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(rgb, nullptr);
    const std::uint8_t pixels[6] = {0, 0, 250, 20, 214, 41};  // blue, green, red: (250,0,0), (41,214,20)
    std::memcpy(bits, pixels, 6);
    HDC mem = CreateCompatibleDC(dc);
    SelectObject(mem, rgb);
    BitBlt(dc, 0, 0, 2, 1, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(IndexAt(0, 0), 249);  // static red
    EXPECT_EQ(IndexAt(1, 0), 51);   // engine entry 41 shows exactly this colour
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(250, 0, 0));
    // And back: the Canvas's colours land in the 24-bit surface.
    BitBlt(mem, 0, 0, 1, 1, dc, 1, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(mem, 0, 0), RGB(41, 214, 20));
    DeleteDC(mem);
    DeleteObject(rgb);
}

TEST_F(Blits, MemoryDCsStartWithAOnePixelBitmap) {
    HDC mem = CreateCompatibleDC(dc);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(GetCurrentObject(mem, OBJ_BITMAP), sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 1);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    EXPECT_EQ(GetCurrentObject(mem, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 10, 10);
    HGDIOBJ first = SelectObject(mem, bitmap);
    HDC other = CreateCompatibleDC(dc);
    EXPECT_EQ(first, GetCurrentObject(other, OBJ_BITMAP));  // the shared 1 x 1 bitmap
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);  // a bitmap lives in one DC at a time
    EXPECT_FALSE(DeleteObject(bitmap));
    SelectObject(mem, first);
    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(other);
    DeleteDC(mem);
}

// One axis of a stretch: destination start and extent, source start and
// extent, and the source pixel (counted from the source start) that each
// destination pixel takes, counted from the destination start.
struct StretchAxis {
    int d, dw, s, sw;
    std::vector<int> samples;

    // The source coordinate destination coordinate v shows, or -1 outside.
    int at(int v) const {
        const int k = dw > 0 ? v - d : d - v;
        if (k < 0 || k >= static_cast<int>(samples.size())) return -1;
        return sw > 0 ? s + samples[k] : s - samples[k];
    }
};

// Samples recorded from Win32 for a 32 x 24 source under COLORONCOLOR.
const std::vector<int> kShrunkColumns = {1, 2, 4, 5, 7, 9, 10, 12, 13, 15, 17, 18, 20, 21, 23, 25, 26, 28, 29, 31};
const std::vector<int> kShrunkRows = {0, 2, 3, 5, 6, 8, 10, 11, 13, 14, 16, 18, 19, 21, 22};
const std::vector<int> kEnlargedColumns = {0,  0,  1,  2,  2,  3,  4,  4,  5,  6,  6,  7,  7,  8,  9,  9,  10,
                                           11, 11, 12, 13, 13, 14, 15, 15, 16, 16, 17, 18, 18, 19, 20, 20, 21,
                                           22, 22, 23, 23, 24, 25, 25, 26, 27, 27, 28, 29, 29, 30, 31, 31};
const std::vector<int> kEnlargedRows = {0,  1,  2,  3,  3,  4,  5,  6,  7,  8,  9,  10, 11, 11,
                                        12, 13, 14, 15, 16, 17, 18, 19, 19, 20, 21, 22, 23};

TEST(Stretching, ColourOnColourTakesTheSamplesWin32Takes) {
    Info8 distinct(0, 0);  // far-apart colours: matching between equal tables keeps indices
    for (int i = 0; i < 256; ++i)
        distinct.colours[i] = {static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 37), static_cast<BYTE>(i), 0};
    MemoryDib columns(32, 24, distinct), rows(32, 24, distinct), out(80, 56, distinct);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x) columns.at(x, y) = static_cast<std::uint8_t>(x), rows.at(x, y) = static_cast<std::uint8_t>(y);
    SetStretchBltMode(out.dc, COLORONCOLOR);
    Info8 topDown = distinct;
    topDown.header.biWidth = 32;
    topDown.header.biHeight = -24;

    struct Case {
        StretchAxis x, y;
        bool dibits;  // StretchDIBits from the same pixels instead of StretchBlt
    };
    const Case cases[] = {
        {{0, 20, 0, 32, kShrunkColumns}, {0, 15, 0, 24, kShrunkRows}, false},
        {{0, 50, 0, 32, kEnlargedColumns}, {0, 27, 0, 24, kEnlargedRows}, false},
        {{19, -20, 0, 32, kShrunkColumns}, {14, -15, 0, 24, kShrunkRows}, false},      // mirrored destination
        {{0, 50, 31, -32, kEnlargedColumns}, {0, 27, 23, -24, kEnlargedRows}, false},  // mirrored source
        {{-3, 20, 0, 32, kShrunkColumns}, {-2, 15, 0, 24, kShrunkRows}, false},        // clipped
        {{0, 20, 0, 32, kShrunkColumns}, {0, 15, 0, 24, kShrunkRows}, true},
        {{0, 50, 0, 32, kEnlargedColumns}, {0, 27, 0, 24, kEnlargedRows}, true},
    };
    for (const Case& c : cases) {
        for (MemoryDib* source : {&columns, &rows}) {
            std::fill_n(&out.at(0, 0), 80 * 56, std::uint8_t{255});
            if (c.dibits)
                StretchDIBits(out.dc, c.x.d, c.y.d, c.x.dw, c.y.dw, c.x.s, c.y.s, c.x.sw, c.y.sw, source->bits(),
                              topDown.info(), DIB_RGB_COLORS, SRCCOPY);
            else
                StretchBlt(out.dc, c.x.d, c.y.d, c.x.dw, c.y.dw, source->dc, c.x.s, c.y.s, c.x.sw, c.y.sw, SRCCOPY);
            int wrong = 0;
            for (int y = 0; y < 56; ++y)
                for (int x = 0; x < 80; ++x) {
                    const int sx = c.x.at(x), sy = c.y.at(y);
                    const int expected = sx < 0 || sy < 0 ? 255 : source == &columns ? sx : sy;
                    wrong += out.at(x, y) != expected;
                }
            EXPECT_EQ(wrong, 0) << c.x.d << "," << c.y.d << "," << c.x.dw << "," << c.y.dw << " from " << c.x.s
                                << "," << c.y.s << "," << c.x.sw << "," << c.y.sw << (c.dibits ? " (DIB)" : "")
                                << (source == &columns ? " columns" : " rows");
        }
    }
}

}  // namespace
}  // namespace gditest
