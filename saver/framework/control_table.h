#pragma once
// The registered controls of all twelve modules.
#include "platform/win32.h"

struct ControlDefinition {
    int module;
    DWORD stringId;
    int slot;
    LONG def;
    LONG min;
    LONG max;
    bool soundAllowed;  // may take the per-frame sources (oscillate and sound)
};

// Every control, module by module in registration order, slots ascending.
extern const ControlDefinition ControlDefinitions[];
extern const int ControlDefinitionCount;

// Registers every control of every module.
void RegisterAllControls();

// Marks the controls that may follow the per-frame sources.
void AllowSoundSources();
