#pragma once
// Module 2, "Pattern": interference patterns.  Every pixel's palette index
// comes from two wave profiles, one along the columns and one along the rows,
// each a sum of waves of random wavelength, combined by one of 21 pattern
// types after an optional turbulence has displaced the coordinates.  The
// picture is painted from the outside in, three one-pixel rings per step, in
// the first visible tile; each ring is mirror-copied into the other tiles.
// A finished picture is held for the Image Duration.
#include "saver/framework/module_record.h"

// Slots of the Pattern controls.
enum PatternSlot : int {
    PatternWavesSlot = 0,
    PatternTurbulenceSlot = 1,
    PatternTypeSlot = 2,
    PatternDurationSlot = 3,
    PatternTurbulenceTypeSlot = 4,
    PatternDensitySlot = 5,
    PatternWaveTypeSlot = 6,
    PatternFoldingSlot = 7,
    PatternXTilesSlot = 10,
    PatternYTilesSlot = 11,
    PatternTileTypeSlot = 12,
};

constexpr int PatternTypeCount = 21;
constexpr int TurbulenceTypeCount = 5;
constexpr int PatternWavelengths = 31;
constexpr LONG PatternColours = 236;

// The largest canvas side the module buffers: no Canvas is larger.  Sizes
// beyond it (or negative) count as a failed allocation, which also keeps all
// of the module's coordinate arithmetic far inside 32 bits.
constexpr LONG PatternLargestSide = 32768;

// A pattern type: the value v >= 0 of pixel (x, y); its palette index is
// v mod 236.  Applies the turbulence itself where the type calls for it.
using PatternFunction = LONG (*)(ModuleRecord* record, LONG x, LONG y);

// Displaces (x, y); the results stay inside 0..xMax and 0..yMax.
using TurbulenceFunction = void (*)(ModuleRecord* record, LONG& x, LONG& y);

extern const PatternFunction PatternFunctions[PatternTypeCount];
extern const TurbulenceFunction TurbulenceFunctions[TurbulenceTypeCount];

struct PatternState {
    LONG xMax;  // canvas width - 1
    LONG yMax;  // canvas height - 1

    // The column profile X covers max(xMax, yMax) + 2 entries: type 19 reads
    // it at the row number, so on a canvas taller than wide the profile
    // continues past the last column with the same sum of waves.
    HGLOBAL columnMemory;
    LONG* columnProfile;
    HGLOBAL rowMemory;
    LONG* rowProfile;  // Y, yMax + 2 entries
    // One row of palette indices, or one column with a 4-byte DIB row each.
    HGLOBAL lineMemory;
    BYTE* line;
    HGLOBAL infoMemory;
    BITMAPINFO* lineInfo;  // palette-index colours 0..235
    HGLOBAL waveMemory;
    LONG* wave;  // W, 2048 samples

    LONG waves;  // N
    float xLength[PatternWavelengths];
    float yLength[PatternWavelengths];
    LONG xOffset;  // 0..235
    LONG yOffset;
    float xFactor;  // 0.05..1.05
    float yFactor;
    LONG band;     // B
    LONG divisor;  // K, 1..12
    BYTE shift;    // s, 6 or 7

    BOOL turbulent;
    LONG turbulenceType;  // 0..4
    float turbulenceScale;  // T

    LONG type;  // 0..20
    PatternFunction function;  // null until a start after the buffers came

    RECT ring;  // the next ring in canvas coordinates
    DWORD durationMs;
    LONG foldWidth;
    LONG xTiles;
    LONG yTiles;
    LONG tileType;
    DWORD nextFrame;  // tick count before which the picture is held
};

extern PatternState Pattern;

LONG PatternInit(ModuleRecord* record);
LONG PatternStart(ModuleRecord* record);
LONG PatternStep(ModuleRecord* record);
LONG PatternFree(ModuleRecord* record);
