#pragma once
// Where a control's value comes from, shared by module controls and palette
// parameters: a fixed setting, a random draw per image, a slow oscillation or
// a live sound level from the spectrum block.
#include "saver/framework/module_record.h"

enum SourceCode : LONG {
    SourceSet = 0,
    SourceRandom = 1,
    SourceOscillate = 2,
    SourceVolume = 3,
    SourceLeft = 4,
    SourceRight = 5,
    SourceFirstBand = 6,  // 150Hz
    SourceLastBand = 21,  // 18KHz
};

constexpr int SourceCount = 22;
constexpr int BandCount = 16;

// The names of the source list, by code.
extern const char* const SourceNames[SourceCount];

// For every defined slot whose source is not fixed: a fresh value in the
// slot's range from the process's random generator.
void RandomizeControls(ModuleRecord* record);

// For every slot whose source is oscillate or sound: the value evaluated from
// the source, truncated toward zero.
void AdvanceControls(ModuleRecord* record);

// The value of an oscillating (2) or sound (3 to 21) source within
// min(rangeLo, rangeHi)..max(rangeLo, rangeHi); rangeLo > rangeHi inverts the
// direction.  `phase` is the caller's evaluator state and is updated.  Sound
// levels are normalised by SoundLevel, which keeps them finite and never
// negative; without auto-gain a level above its full scale maps above the
// range, as the modules' own limits take care of it.  The result is always
// finite.  Fixed and random sources (and codes below 2) give the range's low
// end.
float EvaluateSource(LONG source, float& phase, LONG sense, LONG rangeLo, LONG rangeHi);

// Whether a module control with this source changes from frame to frame:
// oscillation always, sound while the analyser runs and the modules follow it.
BOOL IsLiveSource(LONG source);

// The same for palette parameters, which follow the palette's sound switch.
BOOL IsLivePaletteSource(LONG source);

// A control's value as a module may use it: held to the control's registered
// limits.  Sound sources are not clamped by the evaluator, and a symmetry,
// tile count or curve count beyond its limits would cost unbounded time or
// index past a module's fixed arrays.
LONG ControlValue(const ModuleRecord* record, int slot, LONG value);
LONG ControlValue(const ModuleRecord* record, int slot);

// Re-evaluates a control whose source is live into `target`, held to the
// control's limits; leaves `target` alone otherwise.
void ReadLiveControl(ModuleRecord* record, int slot, LONG& target);

// The same without truncating, for controls whose fractions count; false
// (and `target` left alone) when the source is not live.
bool ReadLiveFraction(ModuleRecord* record, int slot, float& target);

// A float result as the signed 32-bit integer callers keep: truncated toward
// zero, NaN as 0, values beyond the range as its nearer end.
LONG TruncateToLong(float value);
