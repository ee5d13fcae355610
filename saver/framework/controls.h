#pragma once
// Registering a module's controls and operations, and the reset and clamp
// rules for control slots.
#include "saver/framework/module_record.h"

// Defines slot `slot` of module `module` with its default and limits: value
// and default = def, rangeLo and min = lo, rangeHi and max = hi, sense 10,
// phase 0.5, fixed source, not sound-allowed.  Empties the module's path.
void RegisterControl(int module, DWORD stringId, int slot, LONG def, LONG lo, LONG hi);

// Stores the module's four operations and points its record at the table.
void RegisterOperations(int module, ModuleOperation step, ModuleOperation init, ModuleOperation start,
                        ModuleOperation free);

// Puts every defined slot of the module back to its registered default, full
// range, fixed source, sense 10 and phase 0.5; empties the path.  Limits,
// defaults and sound permissions stay.
void ResetControls(int module);

// For all twenty slots: a value outside min..max becomes the default (not the
// nearer limit); rangeLo outside becomes min and rangeHi outside becomes max.
// An inverted range inside the limits stays inverted.
void ClampControls(ModuleRecord* record);

// The operation of a module with nothing to do: returns 0.
LONG ModuleNoOp(ModuleRecord* record);
