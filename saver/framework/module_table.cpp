#include "saver/framework/module_table.h"

#include "saver/framework/control_table.h"
#include "saver/framework/controls.h"
#include "saver/framework/run_flag.h"

ModuleRecord ModuleTable[ModuleCount];
DWORD ActiveModules[ModuleCount];
PaletteSettings* CurrentPalette = nullptr;
std::mutex CurrentPaletteLock;
DisplayLoaderProc DisplayLoader = nullptr;
std::atomic<LONG> Running{0};
ModuleOperations ModuleOperationTable[ModuleCount] = {
    {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp}, {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp},
    {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp}, {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp},
    {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp}, {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp},
    {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp}, {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp},
    {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp}, {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp},
    {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp}, {ModuleNoOp, ModuleNoOp, ModuleNoOp, ModuleNoOp},
};

const char* const ModuleNames[ModuleCount] = {
    "Bezier", "Cyclic", "Pattern", "Plasma", "Polygon", "Sphere",
    "Stain",  "Star",   "Vortex",  "Effect", "Bitmap",  "Random",
};

namespace {

void RegisterModuleOperations() {
    for (int m = 0; m < ModuleCount; ++m) {
        const ModuleOperations& ops = ModuleOperationTable[m];
        RegisterOperations(m, ops.step, ops.init, ops.start, ops.free);
    }
}

bool AnyModuleActive() {
    for (DWORD active : ActiveModules) {
        if (active) {
            return true;
        }
    }
    return false;
}

}  // namespace

void BuildModuleTable() {
    for (int m = 0; m < ModuleCount; ++m) {
        ModuleTable[m].name = ModuleNames[m];
        ModuleTable[m].palette = CurrentPalette;
    }
    RegisterAllControls();
    if (DisplayLoader != nullptr) {
        DisplayLoader();
    }
    if (!AnyModuleActive()) {
        ActiveModules[ModuleRandom] = 1;
    }
    AllowSoundSources();
    RegisterModuleOperations();
    for (ModuleRecord& record : ModuleTable) {
        ClampControls(&record);
    }
}
