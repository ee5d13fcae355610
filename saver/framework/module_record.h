#pragma once
// The record every drawing module is described by, and the process-wide
// table of the twelve modules.
#include <mutex>

#include "platform/win32.h"

struct PaletteSettings;
struct ModuleRecord;

constexpr int ModuleCount = 12;
constexpr int SlotCount = 20;

enum ModuleIndex : int {
    ModuleBezier = 0,
    ModuleCyclic = 1,
    ModulePattern = 2,
    ModulePlasma = 3,
    ModulePolygon = 4,
    ModuleSphere = 5,
    ModuleStain = 6,
    ModuleStar = 7,
    ModuleVortex = 8,
    ModuleEffect = 9,
    ModuleBitmap = 10,
    ModuleRandom = 11,
};

// Slot 9 of every module: how many steps a frame gives the module.
constexpr int StrengthSlot = 9;

// What a step returns when its next drawing time has not come yet.
constexpr LONG StepIdle = 42;

using ModuleOperation = LONG (*)(ModuleRecord* record);

struct ModuleRecord {
    const char* name;
    DWORD page;  // which control sub-page the settings page showed last
    LONG width;
    LONG height;
    HDC dc;
    PaletteSettings* palette;
    ModuleRecord* table;  // first record of the module table
    char path[MAX_PATH];  // file name or mask of the Bitmap module's pictures

    // The twenty control slots, one array per slot field.
    DWORD defined[SlotCount];
    DWORD stringId[SlotCount];
    LONG source[SlotCount];
    LONG value[SlotCount];
    LONG defaultValue[SlotCount];
    LONG rangeLo[SlotCount];
    LONG rangeHi[SlotCount];
    LONG min[SlotCount];
    LONG max[SlotCount];
    LONG sense[SlotCount];
    float phase[SlotCount];
    DWORD soundAllowed[SlotCount];

    ModuleOperation step;
    ModuleOperation init;
    ModuleOperation start;
    ModuleOperation free;
};

extern ModuleRecord ModuleTable[ModuleCount];
// Nonzero for the modules that take part in the current display.
extern DWORD ActiveModules[ModuleCount];
extern const char* const ModuleNames[ModuleCount];

// The palette engine's record while an engine exists; the engine sets it when
// it is created and clears it when it is destroyed.
extern PaletteSettings* CurrentPalette;
// Held while a thread reads or rewrites that record during a run: the palette
// thread for each of its steps, the drawing thread while the Random module
// loads another display's palette into it.
extern std::mutex CurrentPaletteLock;
