// Logical palettes on the 8-bit Canvas: which hardware index a colour
// stores, realisation, animation, and what GetPixel shows.
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
