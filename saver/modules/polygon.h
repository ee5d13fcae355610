#pragma once
// Module 4, "Polygon": one filled polygon a frame whose vertices bounce
// around the screen, repeated with rotational symmetry about the centre and
// tiled.  Nothing is erased, so the polygons pile up into colour-graded
// layers that the palette animation sets flowing.
#include "saver/framework/module_record.h"

// Slots of the Polygon controls.
enum PolygonSlot : int {
    PolygonVerticesSlot = 0,
    PolygonSymmetrySlot = 1,
    PolygonSpeedSlot = 2,
    PolygonOutlineSlot = 3,
    PolygonXTilesSlot = 4,
    PolygonYTilesSlot = 5,
    PolygonTileTypeSlot = 6,
};

constexpr int PolygonMaxVertices = 20;

struct PolygonState {
    LONG vertices;  // V
    LONG symmetry;  // S
    LONG speed;
    LONG outline;  // 1: a one-pixel outline in the mirrored colour
    LONG xTiles;
    LONG yTiles;
    LONG tileType;
    LONG tileWidth;   // canvas width / xTiles; where the vertices are seeded
    LONG tileHeight;  // canvas height / yTiles
    float angleStep;  // between the rotated copies
    POINT centre;
    POINT position[PolygonMaxVertices];
    POINT velocity[PolygonMaxVertices];  // each component -1 or +1
    LONG colour;                         // 0..235
    LONG direction;                      // +1 or -1
    DWORD endTime;                       // when the vertices are seeded again
};

// Not named Polygon, which is the GDI fill it draws with.
extern PolygonState PolygonModule;

LONG PolygonStart(ModuleRecord* record);
LONG PolygonStep(ModuleRecord* record);
