#pragma once
// Module 6, "Stain": a picture computed pixel by pixel from the squared
// distances to two to four random nodes, grown from the middle of the first
// tile as concentric one-pixel rings, four a step, mirrored into the other
// tiles; a finished picture is held for the image duration before the next
// one grows over it.
#include "saver/framework/module_record.h"

// Slots of the Stain controls.
enum StainSlot : int {
    StainNodesSlot = 0,
    StainFoldingSlot = 1,
    StainTypeSlot = 2,
    StainDurationSlot = 3,
    StainXTilesSlot = 10,
    StainYTilesSlot = 11,
    StainTileTypeSlot = 12,
};

// One record more than the largest node count: the dipole field weighs each
// node by the x of the record after it.
constexpr int StainNodeRecords = 5;
constexpr int StainPatternCount = 10;

struct StainNode {
    LONG x;
    LONG y;
    LONG colour;  // 177..235 for even nodes, 0..58 for odd ones
};

// The squared distance along one axis from a column (or row) to each node.
using StainTableRow = LONG[StainNodeRecords];

// Palette index 0..235 at Canvas position (x, y), or 236..255, the low byte
// of some negative remainders, which the colour table shows as entry 0.
using StainPattern = BYTE (*)(LONG x, LONG y);

struct StainState {
    LONG wm;  // Canvas width - 1
    LONG hm;  // Canvas height - 1
    StainNode nodes[StainNodeRecords];
    LONG nodeCount;
    LONG folding;  // fold divisor of the ring edges; 0 computes every edge pixel
    LONG type;
    DWORD holdTime;  // milliseconds a finished picture is held
    LONG xTiles;
    LONG yTiles;
    LONG tileType;
    StainPattern pattern;
    LONG maxDistance;  // length of the Canvas diagonal
    float kx;          // fold scales of pattern 3
    float ky;
    LONG ring;          // rings drawn in the current picture
    DWORD resumeTime;   // nothing is drawn before this tick count
    HGLOBAL xMemory;
    StainTableRow* xTable;  // width + 2 rows
    HGLOBAL yMemory;
    StainTableRow* yTable;  // height + 2 rows
    HGLOBAL lineMemory;
    BYTE* line;  // one edge of a ring, a row or a column of 4-byte rows
    HGLOBAL headerMemory;
    BITMAPINFO* header;  // 8-bit DIB with a palette-relative colour table
    HGLOBAL runMemory;
    BYTE* run;  // the pattern run a folded edge is woven from
};

extern StainState Stain;
extern const StainPattern StainPatterns[StainPatternCount];

LONG StainInit(ModuleRecord* record);
LONG StainStart(ModuleRecord* record);
LONG StainStep(ModuleRecord* record);
LONG StainFree(ModuleRecord* record);
