#pragma once
// Module 1, "Cyclic": a ring of objects travels along Lissajous-like paths
// around the screen centre, each leaving a row of shape stamps from where it
// was to where it is, in the next colour of a triangle wave; a trail of fixed
// length is erased behind them by replaying the same motion in black.
#include "saver/framework/module_record.h"
#include "saver/modules/draw_helpers.h"
#include "saver/modules/trail_history.h"

// Slots of the Cyclic controls.
enum CyclicSlot : int {
    CyclicObjectsSlot = 0,
    CyclicSpasticitySlot = 1,
    CyclicTrailSlot = 2,
    CyclicDiameterSlot = 3,
    CyclicSymmetrySlot = 4,
    CyclicRotationSlot = 5,
    CyclicSidesSlot = 6,
    CyclicTypeSlot = 7,
    CyclicXTilesSlot = 10,
    CyclicYTilesSlot = 11,
    CyclicTileTypeSlot = 12,
};

constexpr int CyclicMaxObjects = 99;
constexpr int CyclicPathModes = 8;

// What a frame was drawn with; the eraser replays it.
struct CyclicFrame {
    ShapeStamp stamp;
    float speed[3];  // added to the path angles t0, t1, t2 every frame
    LONG symmetry;
    LONG xTiles;
    LONG yTiles;
    LONG tileType;
};

struct CyclicObject {
    LONG x;
    LONG y;
    LONG oldX;
    LONG oldY;
    float phase;
};

// The objects and the angles that drive their paths; the head draws, the
// tail follows it in black.
struct CyclicTable {
    float angle[4];  // t0, t1, t2 and t3 = sin t2
    CyclicObject object[CyclicMaxObjects];
};

struct CyclicState {
    LONG objects;   // n
    LONG calmness;  // c = 51 - Spasticity; speeds are inversely proportional to it
    CyclicFrame frame;
    CyclicTable head;
    CyclicTable tail;
    TrailHistory<CyclicFrame> trail;  // delay D = 3 x Trail Length
    LONG colour;                      // 0..235
    LONG direction;                   // +1 or -1
    LONG xMode;                       // path modes, 1..CyclicPathModes
    LONG yMode;
    float radius;  // half the canvas width, on both axes
    POINT centre;
    BOOL pulsating;  // Diameter 0: the size swings between 70 and 140
    float pulseAngle;
    float pulseSpeed;
    DWORD endTime;
};

extern CyclicState Cyclic;

LONG CyclicInit(ModuleRecord* record);
LONG CyclicStart(ModuleRecord* record);
LONG CyclicStep(ModuleRecord* record);
LONG CyclicFree(ModuleRecord* record);
