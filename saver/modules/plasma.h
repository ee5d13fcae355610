#pragma once
// Module 3, "Plasma": a plasma cloud made by recursive midpoint displacement
// in an 8-bit buffer of palette indices, so the palette animation makes it
// flow.  A fixed budget of subdivisions runs every step; while the cloud
// grows its finished top-left square is shown as a four-way mirrored
// preview, and the complete cloud gets an image effect before it is shown
// and held for the Image Duration.
#include "saver/framework/module_record.h"

// Slots of the Plasma controls.
enum PlasmaSlot : int {
    PlasmaRoughnessSlot = 0,
    PlasmaUpdateIntervalSlot = 1,
    PlasmaEffectSlot = 2,
    PlasmaDurationSlot = 3,
};

// Depth-first subdivision keeps at most 3 entries per level plus one, so 49
// entries serve sides of up to 65536 pixels.
constexpr int PlasmaStackCapacity = 49;
constexpr int PlasmaSubdivisionsPerStep = 512;
constexpr DWORD PlasmaNever = 0xFFFFFFFFu;
constexpr LONG PlasmaFirstProgress = 32;

struct PlasmaRect {
    LONG x0;
    LONG y0;
    LONG x1;
    LONG y1;
};

struct PlasmaState {
    // Geometry of the canvas the buffers were allocated for.
    LONG xMax;
    LONG yMax;
    LONG halfWidth;
    LONG halfHeight;
    LONG_PTR stride;  // width rounded up to whole 32-bit words

    // stride x (height + 3) bytes, bottom-up rows; 0 marks a pixel not yet
    // computed, 1..235 are palette indices.
    HGLOBAL bufferMemory;
    BYTE* bits;
    // Header and 236 palette-index colour table for drawing the buffer.
    HGLOBAL infoMemory;
    BITMAPINFO* info;

    PlasmaRect stack[PlasmaStackCapacity];  // rectangles still to subdivide
    LONG stackCount;

    float factor;  // displacement per pixel of distance
    DWORD updateInterval;
    LONG effect;
    DWORD imageDuration;

    DWORD nextUpdate;
    DWORD endTime;  // PlasmaNever while the cloud grows
    LONG shownProgress = PlasmaFirstProgress;  // side of the square last shown
    bool finished;
};

extern PlasmaState Plasma;

LONG PlasmaStart(ModuleRecord* record);
LONG PlasmaStep(ModuleRecord* record);
LONG PlasmaFree(ModuleRecord* record);
