#pragma once
// A ring sprite: concentric rings (or squares, or sliding bars) in
// successive palette entries, outermost first.  Sphere draws its sprites
// with it once per image; Effect stamps it straight onto the picture.
#include "platform/win32.h"

// Sprite patterns, chosen by bits 8 and 16 of the type.
enum RingPattern : int {
    RingCircles = 0,         // concentric circles
    RingSquares = 1,         // concentric squares
    RingVerticalBars = 2,    // 4-pixel bars moving right 3 pixels per ring
    RingHorizontalBars = 3,  // 4-pixel bars moving down 3 pixels per ring
};

constexpr int RingPatternOf(int type) { return (type & 31) >> 3; }

// Draws the sprite of `diameter` centred at (cx, cy): ring k (k = 0 for the
// outermost) in PALETTEINDEX((firstColour + k) mod 236).  Leaves the stock
// null pen and the stock white brush selected and deletes the pen the null
// pen displaces.  A diameter below 2 draws nothing.
void DrawRingSprite(HDC dc, int cx, int cy, UINT firstColour, int diameter, int type);
