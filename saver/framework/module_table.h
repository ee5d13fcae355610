#pragma once
// Setting up the module table for a run or for the settings program.
#include "saver/framework/module_record.h"

// Brings the active saved display into the table: creates the first-run
// displays when the registry holds none, makes sure the fallback display
// "[R] Saved Sound Settings" exists, and loads the display named by `Active`
// (or the fallback, which then becomes `Active`).  The settings store installs
// it; while none is installed the table keeps its registered defaults and
// every run starts with only the Random module.
using DisplayLoaderProc = void (*)();
extern DisplayLoaderProc DisplayLoader;

// The four operations each module registers when the table is built.  Every
// entry starts as the shared no-op; each drawing module that is built puts
// its own operations here before the first run (see InstallDrawingModules).
struct ModuleOperations {
    ModuleOperation step;
    ModuleOperation init;
    ModuleOperation start;
    ModuleOperation free;
};
extern ModuleOperations ModuleOperationTable[ModuleCount];

// Names the records, hands them the palette engine's record, registers every
// control, loads the active display through DisplayLoader, falls back to the
// Random module when no module is active, marks the sound-allowed controls,
// registers the operations and clamps every record.
void BuildModuleTable();
