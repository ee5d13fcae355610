#pragma once
// Module 5, "Sphere": round sprites of concentric coloured rings stamped
// around the centre of every tile, at a random or sound-driven distance,
// once in every sector of a rotational symmetry, optionally clipped to the
// sector's wedge and mirrored inside it.  The rings are drawn once per image
// into ten sprites of different colours, so a step only sets clip regions
// and copies squares.
#include "saver/framework/module_record.h"

// Slots of the Sphere controls.
enum SphereSlot : int {
    SphereSizeSlot = 0,
    SphereSymmetrySlot = 1,
    SphereTypeSlot = 2,
    SphereDurationSlot = 3,
    SphereXTilesSlot = 4,
    SphereYTilesSlot = 5,
    SphereTileTypeSlot = 6,
};

// Bits of "Type"; bits 8 and 16 choose the sprite pattern (ring_sprite.h).
enum SphereTypeBit : LONG {
    SphereWedgeClip = 1,   // clip each stamp to its sector's triangle
    SphereMirror = 2,      // a second stamp at the mirrored angle in the sector
    SphereRandomSize = 4,  // a random stamp size every step
    SphereTileClip = 32,   // clip each stamp to its own tile
};

constexpr int SphereSpriteCount = 10;

struct SphereState {
    HDC spriteDC;            // memory DC the sprites are drawn and copied from
    HPALETTE spritePalette;  // 236 explicit entries naming hardware entries 10..245
    HBITMAP sprites[SphereSpriteCount];
    HBITMAP originalBitmap;  // what spriteDC held before the first sprite
    BOOL spritesReady;       // every sprite of this image was made

    LONG size;  // S: sprites are (S + 2) x (S + 2)
    LONG symmetry;
    LONG type;
    LONG duration;
    LONG xTiles;
    LONG yTiles;
    LONG tileType;

    BOOL wedgeClip;
    BOOL mirror;
    BOOL randomSize;
    BOOL tileClip;

    float symmetryStep;  // one sector's angle
    float halfDiagonal;  // from the canvas centre to a corner
    LONG halfWidth;      // canvas halves at the start of the image
    LONG halfHeight;
    LONG colourMultiplier;  // m, 0..7: 0 keeps every stamp on sprite 0
    DWORD endTime;
};

extern SphereState Sphere;

LONG SphereInit(ModuleRecord* record);
LONG SphereStart(ModuleRecord* record);
LONG SphereStep(ModuleRecord* record);
LONG SphereFree(ModuleRecord* record);
