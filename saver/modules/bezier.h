#pragma once
// Module 0, "Bezier": joined cubic Bezier curves whose control points bounce
// around the screen, drawn every frame in the next colour of a triangle wave
// so that they leave colour-graded ribbons, and erased a fixed number of
// frames later by replaying the same motion in black.
#include "saver/framework/module_record.h"
#include "saver/modules/trail_history.h"

// Slots of the Bezier controls.
enum BezierSlot : int {
    BezierCurvesSlot = 0,
    BezierSymmetrySlot = 1,
    BezierTrailSlot = 2,
    BezierWidthSlot = 3,
    BezierSpeedSlot = 4,
    BezierDurationSlot = 5,
    BezierXTilesSlot = 6,
    BezierYTilesSlot = 7,
    BezierTileTypeSlot = 8,
};

constexpr int BezierMaxPoints = 2 * 20 + 4;

// What a frame was drawn with; the eraser replays it.
struct BezierFrame {
    LONG symmetry;
    LONG xTiles;
    LONG yTiles;
    LONG width;
    LONG speed;
    LONG tileType;
    float angleStep;
};

struct BezierPoints {
    POINT position[BezierMaxPoints];
    POINT velocity[BezierMaxPoints];  // each component -1 or +1
};

struct BezierState {
    LONG curves;      // N
    LONG pointCount;  // P = 2N + 4
    BezierFrame frame;
    BezierPoints head;
    BezierPoints tail;
    RECT box;  // right and bottom exclusive
    POINT centre;
    TrailHistory<BezierFrame> trail;  // delay D = 3 x Trail Length
    LONG colour;                      // 0..235
    LONG direction;                   // +1 or -1
    DWORD endTime;
};

extern BezierState Bezier;

LONG BezierInit(ModuleRecord* record);
LONG BezierStart(ModuleRecord* record);
LONG BezierStep(ModuleRecord* record);
LONG BezierFree(ModuleRecord* record);
