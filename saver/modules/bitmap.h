#pragma once
// Module 10, "Bitmap": a slide show.  Every "Duration" seconds it shows a
// picture, from the files the module's path matches (one after another or
// at random) or a half-size snapshot of the screen, reduced to 8-bit values
// that are drawn as palette indices, so the palette animation flows through
// it.  A worker thread loads and prepares each picture and paints it only
// while the drawing thread is inside this module's step; the critical
// section, which the drawing thread holds at all other times, keeps the
// worker's use of the Canvas out of every other module's drawing.
#include <memory>

#include "saver/framework/module_record.h"

// Slots of the Bitmap controls.
enum BitmapSlot : int {
    BitmapDisplayTypeSlot = 0,
    BitmapForceGradientSlot = 1,
    BitmapDurationSlot = 2,
    BitmapSmoothingSlot = 3,
    BitmapRandomOrderSlot = 4,
    BitmapFromScreenSlot = 5,
};

// What "Display Type" selects.
enum BitmapDisplayType : LONG {
    BitmapCentred = 0,
    BitmapStretched = 1,
    BitmapMirroredTiles = 2,
    BitmapTiles = 3,
};

// The worker's exit codes when it cannot show a picture.
constexpr DWORD BitmapLoadFailed = 100;
constexpr DWORD BitmapSnapshotFailed = 200;

// What the drawing thread and the workers of one run share (the critical
// section and the running and paint-now flags), and one worker's picture.
// Both are owned jointly with the workers, so a worker that is abandoned
// when the module is freed still finds them whole until it ends.
struct BitmapSession;
struct BitmapJob;

struct BitmapState {
    std::shared_ptr<BitmapSession> session;
    std::shared_ptr<BitmapJob> job;  // the latest worker's
    HANDLE worker;
    LONG halfWidth;
    LONG halfHeight;
    DWORD durationMs;
    DWORD dueTime;
    bool dueTimeSet;  // before the first picture, one is due at once
};

extern BitmapState Bitmap;

LONG BitmapInit(ModuleRecord* record);
LONG BitmapStart(ModuleRecord* record);
LONG BitmapStep(ModuleRecord* record);
LONG BitmapFree(ModuleRecord* record);
