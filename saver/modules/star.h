#pragma once
// Module 7, "Star": a field of points flying through 3-D space towards the
// viewer while the whole field turns about the three axes; each point's
// motion is drawn as a streak of stamped shapes in the next palette colour,
// optionally repeated about the Canvas centre and tiled.
#include "saver/framework/module_record.h"
#include "saver/modules/draw_helpers.h"

// Slots of the Star controls.
enum StarSlot : int {
    StarCountSlot = 0,
    StarSizeSlot = 1,
    StarSpeedSlot = 2,
    StarXRevolveSlot = 3,
    StarYRevolveSlot = 4,
    StarZRevolveSlot = 5,
    StarRotationSlot = 6,
    StarSidesSlot = 7,
    StarTypeSlot = 8,
    StarXTilesSlot = 10,
    StarYTilesSlot = 11,
    StarTileTypeSlot = 12,
    StarSymmetrySlot = 13,
};

constexpr int StarTableSize = 99;
constexpr int StarRingCount = 20;  // stars in ring mode

struct StarPoint {
    Point3D position;  // world units about the point the field revolves around
    LONG sx;           // Canvas position of the last projection
    LONG sy;
};

struct StarState {
    StarPoint stars[StarTableSize];
    LONG count;  // stars in use, 1..StarTableSize
    BOOL ringMode;
    LONG size;
    LONG speed;
    LONG xTiles;
    LONG yTiles;
    LONG tileType;
    LONG symmetry;
    double xRevolve;  // radians per step
    double yRevolve;
    double zRevolve;
    float symmetryStep;  // radians between the rotational copies
    LONG width;
    LONG height;
    LONG halfWidth;
    LONG halfHeight;
    LONG colour;  // palette index 0..235
    ShapeStamp stamp;
    ShapeStamp tileStamp;  // the stamp made smaller for tiles, for one step
    ViewCamera* camera;  // from ModuleInit to ModuleFree; null when memory ran out
};

extern StarState Star;

LONG StarInit(ModuleRecord* record);
LONG StarStart(ModuleRecord* record);
LONG StarStep(ModuleRecord* record);
LONG StarFree(ModuleRecord* record);
