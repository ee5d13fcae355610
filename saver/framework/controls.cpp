#include "saver/framework/controls.h"

namespace {

bool ValidModule(int module) { return module >= 0 && module < ModuleCount; }

bool ValidSlot(int slot) { return slot >= 0 && slot < SlotCount; }

}  // namespace

void RegisterControl(int module, DWORD stringId, int slot, LONG def, LONG lo, LONG hi) {
    if (!ValidModule(module) || !ValidSlot(slot)) {
        return;
    }
    ModuleRecord& r = ModuleTable[module];
    r.stringId[slot] = stringId;
    r.defined[slot] = 1;
    r.value[slot] = def;
    r.defaultValue[slot] = def;
    r.rangeLo[slot] = lo;
    r.min[slot] = lo;
    r.rangeHi[slot] = hi;
    r.max[slot] = hi;
    r.sense[slot] = 10;
    r.phase[slot] = 0.5f;
    r.soundAllowed[slot] = 0;
    r.source[slot] = 0;
    r.path[0] = '\0';
}

void RegisterOperations(int module, ModuleOperation step, ModuleOperation init, ModuleOperation start,
                        ModuleOperation free) {
    if (!ValidModule(module)) {
        return;
    }
    ModuleRecord& r = ModuleTable[module];
    r.step = step;
    r.init = init;
    r.start = start;
    r.free = free;
    r.table = ModuleTable;
}

void ResetControls(int module) {
    if (!ValidModule(module)) {
        return;
    }
    ModuleRecord& r = ModuleTable[module];
    for (int s = 0; s < SlotCount; ++s) {
        if (!r.defined[s]) {
            continue;
        }
        r.value[s] = r.defaultValue[s];
        r.rangeLo[s] = r.min[s];
        r.rangeHi[s] = r.max[s];
        r.sense[s] = 10;
        r.phase[s] = 0.5f;
        r.source[s] = 0;
    }
    r.path[0] = '\0';
}

void ClampControls(ModuleRecord* record) {
    if (record == nullptr) {
        return;
    }
    ModuleRecord& r = *record;
    for (int s = 0; s < SlotCount; ++s) {
        if (r.value[s] < r.min[s] || r.value[s] > r.max[s]) {
            r.value[s] = r.defaultValue[s];
        }
        if (r.rangeLo[s] < r.min[s] || r.rangeLo[s] > r.max[s]) {
            r.rangeLo[s] = r.min[s];
        }
        if (r.rangeHi[s] > r.max[s] || r.rangeHi[s] < r.min[s]) {
            r.rangeHi[s] = r.max[s];
        }
    }
}

LONG ModuleNoOp(ModuleRecord*) { return 0; }
