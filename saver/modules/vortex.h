#pragma once
// Module 8, "Vortex": a ring of points as large as the half diagonal collapses
// towards the centre while it twists back and forth, each point's radius
// rippling with its place on the ring.  Every segment sweeps a filled
// quadrilateral between its previous and its new position, so the ring leaves
// a spiral ribbon; the finished picture is held, then a new vortex starts
// over it.
#include "saver/framework/module_record.h"

// Slots of the Vortex controls.
enum VortexSlot : int {
    VortexPointsSlot = 0,
    VortexSpasticitySlot = 1,
    VortexAmplitudeSlot = 2,
    VortexDurationSlot = 3,
    VortexTypeSlot = 4,
    VortexCollapseSlot = 5,
    VortexFluxSlot = 6,
    VortexFluxAmplitudeSlot = 7,
    VortexXTilesSlot = 10,
    VortexYTilesSlot = 11,
    VortexTileTypeSlot = 12,
};

constexpr int VortexMaxPoints = 199;

struct VortexPoint {
    LONG x;
    LONG y;
    LONG previousX;  // before the last move
    LONG previousY;
    LONG colour;  // colour number; the step's offset is added when drawing
    float angle;  // radians
};

struct VortexState {
    LONG points;      // N
    float period;     // P: of the twist's wobble, in pixels of radius
    float amplitude;  // A: twist per step, radians
    float collapse;   // C: pixels the radius shrinks per step
    float frequency;  // F: ripple, radians per point index
    float depth;      // D: ripple depth in pixels
    float radius;     // R
    POINT centre;
    LONG xTiles;
    LONG yTiles;
    LONG tileType;
    LONG type;        // colour numbering of the odd points
    DWORD holdTime;   // ms the finished picture stays
    DWORD endTime;
    LONG colourOffset;
    BOOL collapsing;  // some point's rippled radius was still non-negative
    VortexPoint point[VortexMaxPoints];
};

extern VortexState Vortex;

LONG VortexStart(ModuleRecord* record);
LONG VortexStep(ModuleRecord* record);
