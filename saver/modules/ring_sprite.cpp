#include "saver/modules/ring_sprite.h"

namespace {

constexpr UINT PaletteSize = 236;
constexpr int BarStep = 3;
constexpr int BarThickness = 4;

}  // namespace

void DrawRingSprite(HDC dc, int cx, int cy, UINT firstColour, int diameter, int type) {
    DeleteObject(SelectObject(dc, GetStockObject(NULL_PEN)));
    const int h = diameter / 2;
    if (h <= 0) {
        return;
    }
    const int pattern = RingPatternOf(type);
    // Colour arithmetic stays in unsigned 32 bits, so any first colour
    // (even CLR_INVALID from a failed look-up) gives a valid entry.
    const UINT first = firstColour % PaletteSize;
    for (int k = 0; k < h; ++k) {
        HBRUSH brush = CreateSolidBrush(PALETTEINDEX(static_cast<WORD>((first + static_cast<UINT>(k)) % PaletteSize)));
        SelectObject(dc, brush);
        const int r = h - 1 - k;
        switch (pattern) {
        case RingCircles:
            Ellipse(dc, cx - r, cy - r, cx + r, cy + r);
            break;
        case RingSquares:
            Rectangle(dc, cx - r, cy - r, cx + r, cy + r);
            break;
        case RingVerticalBars:
            Rectangle(dc, cx - h + BarStep * k, cy - h, cx - h + BarStep * k + BarThickness, cy + h);
            break;
        default:
            Rectangle(dc, cx - h, cy - h + BarStep * k, cx + h, cy - h + BarStep * k + BarThickness);
            break;
        }
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
        DeleteObject(brush);
    }
}
