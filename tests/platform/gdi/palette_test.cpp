// Logical palettes on the 8-bit Canvas: which hardware index a colour
// stores, realisation, animation, and what GetPixel shows.
#include <set>

#include "canvas_fixture.h"

namespace gditest {
namespace {

using Palettes = CanvasTest;

TEST_F(Palettes, PaletteIndexThroughTheEnginePaletteStoresIndexPlusTen) {
    for (WORD i : {0, 1, 117, 235}) {
        SetPixel(dc, 3, 3, PALETTEINDEX(i));
        EXPECT_EQ(IndexAt(3, 3), i + 10) << i;
    }
    SetPixel(dc, 3, 3, PALETTEINDEX(236));  // beyond the palette: entry 0
    EXPECT_EQ(IndexAt(3, 3), 10);
    SetPixel(dc, 3, 3, PALETTEINDEX(100));
    SetPixel(dc, 3, 3, 0);  // colour value 0 is static black
    EXPECT_EQ(IndexAt(3, 3), 0);
    SetPixel(dc, 3, 3, RGB(250, 250, 250));  // RGB: the nearest static colour
    EXPECT_EQ(IndexAt(3, 3), 255);
    SetPixel(dc, 3, 3, RGB(120, 0, 10));
    EXPECT_EQ(IndexAt(3, 3), 1);
    SetPixel(dc, 3, 3, PALETTERGB(100, 155, 50));  // the selected palette's entry 100
    EXPECT_EQ(IndexAt(3, 3), 110);
}

TEST_F(Palettes, RealisingShowsTheColoursAndPublishesThem) {
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    SetPixel(dc, 1, 1, PALETTEINDEX(40));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(40, 215, 20));
    std::lock_guard lock(presenter->mutex);
    EXPECT_GE(presenter->palettes, 1);
    EXPECT_EQ(presenter->colours[50], 0x28D714u);  // 0x00RRGGBB of entry 40
    EXPECT_EQ(presenter->colours[7], 0xC0C0C0u);   // static light grey
}

TEST_F(Palettes, AnimatePaletteChangesShownColoursButNoStoredIndex) {
    SetPixel(dc, 1, 1, PALETTEINDEX(40));
    const int published = presenter->palettes;
    PALETTEENTRY entries[2] = {{1, 2, 3, PC_RESERVED}, {4, 5, 6, PC_RESERVED}};
    ASSERT_TRUE(AnimatePalette(palette, 40, 2, entries));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(IndexAt(1, 1), 50);
    EXPECT_EQ(presenter->palettes, published + 1);
    PALETTEENTRY read[2];
    ASSERT_EQ(GetPaletteEntries(palette, 40, 2, read), 2u);
    EXPECT_EQ(read[1].peBlue, 6);
    EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(4, 5, 7)), 41u);
}

TEST_F(Palettes, AnimationLeavesEntriesWithoutReservedFlagAlone) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 2;
    lp->palPalEntry[0] = {10, 10, 10, 0};
    lp->palPalEntry[1] = {20, 20, 20, PC_RESERVED};
    HPALETTE mixed = CreatePalette(lp);
    SelectPalette(dc, mixed, FALSE);
    RealizePalette(dc);
    const PALETTEENTRY next[2] = {{99, 99, 99, PC_RESERVED}, {77, 77, 77, PC_RESERVED}};
    AnimatePalette(mixed, 0, 2, next);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    SetPixel(dc, 0, 0, PALETTEINDEX(0));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(10, 10, 10));
    SetPixel(dc, 0, 0, PALETTEINDEX(1));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(77, 77, 77));
    EXPECT_FALSE(DeleteObject(mixed));  // still selected
    SelectPalette(dc, palette, FALSE);
    EXPECT_TRUE(DeleteObject(mixed));
}

TEST_F(Palettes, ExplicitEntriesNameTheirHardwareIndexInAMemoryDC) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE) + 235 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 236;
    for (int i = 0; i < 236; ++i) lp->palPalEntry[i] = {static_cast<BYTE>(i + 10), 0, 0, PC_EXPLICIT};
    HPALETTE sprite = CreatePalette(lp);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 8, 8);
    HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
    HPALETTE oldPalette = SelectPalette(mem, sprite, FALSE);
    RealizePalette(mem);
    SetPixel(mem, 0, 0, PALETTEINDEX(0));
    SetPixel(mem, 1, 0, PALETTEINDEX(200));
    BitBlt(dc, 0, 0, 8, 8, mem, 0, 0, SRCCOPY);
    EXPECT_EQ(IndexAt(0, 0), 10);
    EXPECT_EQ(IndexAt(1, 0), 210);
    SelectPalette(mem, oldPalette, FALSE);
    SelectObject(mem, oldBitmap);
    DeleteDC(mem);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(sprite));
}

TEST_F(Palettes, BackgroundRealisationMapsToTheNearestShownColour) {
    std::vector<std::uint8_t> block(sizeof(LOGPALETTE));
    auto* lp = reinterpret_cast<LOGPALETTE*>(block.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = 1;
    lp->palPalEntry[0] = {41, 214, 20, 0};  // nearest: engine entry 41 (41, 214, 20)
    HPALETTE other = CreatePalette(lp);
    SelectPalette(dc, other, TRUE);
    RealizePalette(dc);
    SetPixel(dc, 0, 0, PALETTEINDEX(0));
    EXPECT_EQ(IndexAt(0, 0), 51);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(41, 214, 20));  // the engine's colours still show
    SelectPalette(dc, palette, FALSE);
    DeleteObject(other);
}

TEST_F(Palettes, UnrealisedPaletteMapsLikeTheDefaultPalette) {
    HPALETTE fresh = CreateEnginePalette();
    SelectPalette(dc, fresh, FALSE);
    SetPixel(dc, 0, 0, PALETTEINDEX(7));
    EXPECT_EQ(IndexAt(0, 0), 7);
    SetPixel(dc, 0, 0, PALETTEINDEX(19));
    EXPECT_EQ(IndexAt(0, 0), 255);
    SetPixel(dc, 0, 0, PALETTEINDEX(30));
    EXPECT_EQ(IndexAt(0, 0), 0);
    // Unrealizing the realised palette resets it the same way.
    UnrealizeObject(palette);
    SelectPalette(dc, palette, FALSE);
    SetPixel(dc, 0, 0, PALETTEINDEX(30));
    EXPECT_EQ(IndexAt(0, 0), 0);
    RealizePalette(dc);
    SetPixel(dc, 0, 0, PALETTEINDEX(30));
    EXPECT_EQ(IndexAt(0, 0), 40);
    DeleteObject(fresh);
}

// A DIB section's table in the display's layout: the static colours at 0..9
// and 246..255, the engine palette's colours between.
Info8 DisplayLayout(HPALETTE engine) {
    PALETTEENTRY statics[20], logical[236];
    GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, statics);
    GetPaletteEntries(engine, 0, 236, logical);
    auto quad = [](const PALETTEENTRY& e) { return RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0}; };
    Info8 table(0, 0);
    for (int k = 0; k < 20; ++k) table.colours[k < 10 ? k : k + 236] = quad(statics[k]);
    for (int i = 0; i < 236; ++i) table.colours[10 + i] = quad(logical[i]);
    return table;
}

// What SetPixel, pens, brushes and text store in a DIB section, as Win32
// stores it: the engine palette is selected in the DIB's DC but realised
// nowhere, so only its entries' colours can lead to the DIB's own table.
TEST_F(Palettes, DibSectionColoursMatchTheDibsOwnTable) {
    HPALETTE engine = CreateEnginePalette();
    Info8 grey(0, 0);
    grey.grey();
    const Info8 display = DisplayLayout(engine);
    const COLORREF colours[] = {PALETTEINDEX(0),       PALETTEINDEX(5),         PALETTEINDEX(100),
                                PALETTEINDEX(235),     PALETTEINDEX(236),       RGB(50, 155, 100),
                                RGB(61, 150, 101),     RGB(250, 5, 5),          PALETTERGB(50, 155, 100),
                                PALETTERGB(255, 255, 255)};
    struct Case {
        const Info8* table;
        std::uint8_t pixels[10];
        int pen, brush, text, background;  // PALETTEINDEX 50, 100, 150, 60
    };
    const Case cases[] = {
        {&display, {0x0a, 0x0f, 0x6e, 0xf5, 0x0a, 0x06, 0x6a, 0xf9, 0x06, 0xff}, 0x3c, 0x6e, 160, 70},
        {&grey, {0x55, 0x56, 0x66, 0x7c, 0x55, 0x66, 0x68, 0x57, 0x66, 0xff}, 0x5d, 0x66, 110, 95},
    };
    for (const Case& c : cases) {
        MemoryDib dib(32, 30, *c.table);
        HPALETTE oldPalette = SelectPalette(dib.dc, engine, FALSE);
        for (int i = 0; i < 10; ++i) {
            const RGBQUAD shown = c.table->colours[c.pixels[i]];
            EXPECT_EQ(SetPixel(dib.dc, i, 0, colours[i]), RGB(shown.rgbRed, shown.rgbGreen, shown.rgbBlue)) << i;
            EXPECT_EQ(dib.at(i, 0), c.pixels[i]) << i;
            EXPECT_EQ(GetPixel(dib.dc, i, 0), RGB(shown.rgbRed, shown.rgbGreen, shown.rgbBlue)) << i;
        }
        HGDIOBJ oldPen = SelectObject(dib.dc, CreatePen(PS_SOLID, 1, PALETTEINDEX(50)));
        MoveToEx(dib.dc, 0, 1, nullptr);
        LineTo(dib.dc, 4, 1);
        EXPECT_EQ(dib.at(3, 1), c.pen);
        DeleteObject(SelectObject(dib.dc, oldPen));
        HBRUSH brush = CreateSolidBrush(PALETTEINDEX(100));
        const RECT fill{0, 2, 4, 4};
        FillRect(dib.dc, &fill, brush);
        EXPECT_EQ(dib.at(3, 3), c.brush);
        DeleteObject(brush);
        SetTextColor(dib.dc, PALETTEINDEX(150));
        SetBkColor(dib.dc, PALETTEINDEX(60));
        RECT box{0, 4, 32, 30};
        DrawTextA(dib.dc, "Hg", -1, &box, DT_LEFT | DT_TOP | DT_SINGLELINE);
        std::set<int> shades;
        for (int y = 4; y < 30; ++y)
            for (int x = 0; x < 32; ++x) shades.insert(dib.at(x, y));
        EXPECT_EQ(shades, (std::set<int>{0, c.background, c.text}));
        SelectPalette(dib.dc, oldPalette, FALSE);
    }
    DeleteObject(engine);
}

// Colour tables of logical palette indices name the entries' colours, which
// a DIB section then matches in its own table (values recorded from Win32).
TEST_F(Palettes, PaletteIndexTablesNameTheEntriesColours) {
    HPALETTE engine = CreateEnginePalette();
    PALETTEENTRY logical[236];
    GetPaletteEntries(engine, 0, 236, logical);
    Info8 indices(16, -1);
    auto* words = reinterpret_cast<WORD*>(indices.colours);
    for (int i = 0; i < 256; ++i) words[i] = static_cast<WORD>(i * 7 % 236);

    HDC mem = CreateCompatibleDC(nullptr);
    HPALETTE oldPalette = SelectPalette(mem, engine, FALSE);
    HBITMAP section = CreateDIBSection(mem, indices.info(), DIB_PAL_COLORS, nullptr, nullptr, 0);
    ASSERT_NE(section, nullptr);
    HGDIOBJ oldBitmap = SelectObject(mem, section);
    RGBQUAD table[256];
    ASSERT_EQ(GetDIBColorTable(mem, 0, 256, table), 256u);
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = logical[i * 7 % 236];
        EXPECT_EQ(RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue), RGB(e.peRed, e.peGreen, e.peBlue)) << i;
    }
    SelectObject(mem, oldBitmap);
    SelectPalette(mem, oldPalette, FALSE);
    DeleteDC(mem);
    DeleteObject(section);

    MemoryDib dib(16, 1, DisplayLayout(engine));
    oldPalette = SelectPalette(dib.dc, engine, FALSE);
    const std::uint8_t source[16] = {0, 1, 2, 3, 10, 20, 50, 100, 200, 233, 234, 235, 250, 251, 252, 253};
    const std::uint8_t stored[16] = {0x0a, 0x11, 0x18, 0x1f, 0x50, 0x96, 0x7c, 0xee,
                                     0xe6, 0xe1, 0xe8, 0xef, 0x6c, 0x73, 0x7a, 0x81};
    ASSERT_EQ(StretchDIBits(dib.dc, 0, 0, 16, 1, 0, 0, 16, 1, source, indices.info(), DIB_PAL_COLORS, SRCCOPY), 1);
    for (int x = 0; x < 16; ++x) EXPECT_EQ(dib.at(x, 0), stored[x]) << x;
    SelectPalette(dib.dc, oldPalette, FALSE);
    DeleteObject(engine);
}

TEST(PaletteObjects, RejectBadInput) {
    EXPECT_EQ(CreatePalette(nullptr), nullptr);
    LOGPALETTE lp{0x200, 1, {{1, 2, 3, 0}}};
    EXPECT_EQ(CreatePalette(&lp), nullptr);  // wrong version
    lp.palVersion = 0x300;
    lp.palNumEntries = 0;
    EXPECT_EQ(CreatePalette(&lp), nullptr);
    lp.palNumEntries = 1;
    HPALETTE p = CreatePalette(&lp);
    ASSERT_NE(p, nullptr);
    PALETTEENTRY e{};
    EXPECT_FALSE(AnimatePalette(p, 1, 1, &e));  // start beyond the end
    EXPECT_FALSE(AnimatePalette(p, 0, 1, nullptr));
    EXPECT_EQ(GetPaletteEntries(p, 0, 0, nullptr), 1u);
    EXPECT_EQ(SetPaletteEntries(p, 5, 1, &e), 0u);
    EXPECT_TRUE(DeleteObject(p));
    EXPECT_FALSE(AnimatePalette(p, 0, 1, &e));  // stale handle
    EXPECT_EQ(GetNearestPaletteIndex(p, 0), CLR_INVALID);
    EXPECT_EQ(SelectPalette(nullptr, p, FALSE), nullptr);
    EXPECT_EQ(RealizePalette(nullptr), GDI_ERROR);
}

}  // namespace
}  // namespace gditest
