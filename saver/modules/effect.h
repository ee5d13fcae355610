#pragma once
// Module 9, "Effect": draws nothing of its own.  Every "Display Interval"
// seconds it transforms whatever the other modules left on the picture:
// inverted nested frames or ellipses, a mirrored kaleidoscope fold,
// inverted stripes, or ring sprites in colours sampled from the picture.
#include "saver/framework/module_record.h"

// Slots of the Effect controls.
enum EffectSlot : int {
    EffectKindSlot = 0,
    EffectXStrengthSlot = 1,
    EffectYStrengthSlot = 2,
    EffectIntervalSlot = 3,
};

// What the "Type" control selects.
enum EffectKind : LONG {
    EffectInvertFrames = 0,
    EffectXorEllipses = 1,
    EffectInvertFramesTwice = 2,
    EffectXorEllipsesTwice = 3,
    EffectInvertQuadrants = 4,
    EffectXorQuadrants = 5,
    EffectFirstFold = 6,         // 6..11: fold depth 1..6
    EffectFirstPatchedFold = 12, // 12..17: fold depth 1..6 with a patch
    EffectStripes = 18,
    EffectRandomFold = 19,
    EffectRandomPatchedFold = 20,
    EffectFirstBlobs = 21,       // 21..24: sprite types 1, 9, 17, 25
    EffectRandomBlobs = 25,
};

struct EffectState {
    LONG w1;  // picture width - 1
    LONG h1;  // picture height - 1
    LONG w2;  // picture width / 2
    LONG h2;  // picture height / 2
    LONG kind;
    LONG xStrength;
    LONG yStrength;
    DWORD intervalMs;
    DWORD dueTime;
};

extern EffectState Effect;

// One transformation of the picture in `dc` by the current kind, with steps
// drawn from X and Y Strength plus 0..7 each.
void DoEffect(HDC dc);

LONG EffectInit(ModuleRecord* record);
LONG EffectStart(ModuleRecord* record);
LONG EffectStep(ModuleRecord* record);
